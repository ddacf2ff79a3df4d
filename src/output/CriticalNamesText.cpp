#include "output/CriticalNamesText.h"

namespace {

// Room kept for the lines that count what is not named.
constexpr std::size_t CountLinesRoom = 120;

std::string Plural(unsigned long long count, const char* one, const char* more) {
    return std::to_string(count) + " " + (count == 1 ? one : more);
}

std::string ExcludedText(unsigned long long excluded) {
    return Plural(excluded, "row", "rows") + " left out (EXCLUDE=)";
}

std::string ObjectShort(const CriticalObject& row) {
    return ShownName(row.ON) + " (" + ShownName(row.TN) + ", " + ShownName(row.TS) + ")";
}

template <typename Row, typename Name>
std::string Figures(const Row& row, const Name& names) {
    std::string text;
    for (std::size_t at = 0; at < names.size(); ++at) text += std::string(" ") + names[at] + "=" + std::to_string(row.Figures[at]);
    return text;
}

// "TS: A, B and 3 more" within `room`; empty when not even the heading fits.
template <typename Row, typename Shown>
std::string NamedPart(const char* heading, const std::vector<Row>& rows, unsigned long long unnamed, Shown shown,
                      std::size_t room, TextMeasure measure) {
    if (rows.empty() && unnamed == 0) return "";
    std::string text = heading;
    std::size_t named = 0;
    for (const Row& row : rows) {
        const std::string item = (named == 0 ? " " : ", ") + shown(row);
        // Room for the count of those left: " and 18446744073709551615 more".
        if (measure(text) + measure(item) + 30 > room) break;
        text += item;
        ++named;
    }
    const unsigned long long more = unnamed + (rows.size() - named);
    if (more > 0) text += named == 0 ? " " + std::to_string(more) + " not named" : " and " + std::to_string(more) + " more";
    return measure(text) <= room ? text : "";
}

}  // namespace

std::size_t ByteLength(const std::string& text) { return text.size(); }

std::string ShownName(const std::string& name) {
    if (name.find_first_not_of(' ') == std::string::npos) return "(blank)";
    std::string shown = name;
    for (char& c : shown)
        if ((c >= '\0' && c < ' ') || c == '\x7f') c = ' ';
    return shown;
}

std::string NamesNote(const CriticalNames& names, bool withNames, std::size_t room, TextMeasure measure) {
    const std::string excluded = names.Excluded > 0 ? ExcludedText(names.Excluded) : "";
    if (measure(excluded) > room) return "";
    std::string note;
    if (withNames) {
        // What EXCLUDE= left out is said whatever the names take.
        const std::size_t kept = excluded.empty() ? 0 : measure(excluded) + 2;
        const std::size_t namesRoom = room - kept;
        note = NamedPart("TS:", names.Tablespaces, names.UnnamedTablespaces,
                         [](const CriticalTablespace& row) { return ShownName(row.TS); }, namesRoom, measure);
        const std::size_t used = note.empty() ? 0 : measure(note) + 2;
        if (used < namesRoom) {
            const std::string objects = NamedPart("ON (TN, TS):", names.Objects, names.UnnamedObjects, ObjectShort,
                                                  namesRoom - used, measure);
            if (!objects.empty()) note += (note.empty() ? "" : "; ") + objects;
        }
    }
    if (!excluded.empty()) note += (note.empty() ? "" : "; ") + excluded;
    return note;
}

std::vector<std::string> RowLines(const CriticalNames& names, std::size_t room, std::size_t separator,
                                  TextMeasure measure) {
    std::vector<std::string> lines;
    std::size_t used = 0;
    const std::size_t rowsRoom = room > CountLinesRoom ? room - CountLinesRoom : 0;
    bool full = false;  // a row did not fit: the rows after it are counted, not named, keeping SAP's order
    auto addRow = [&](const std::string& line) {
        const std::size_t length = measure(line) + separator;
        if (full || used + length > rowsRoom) return !(full = true);
        lines.push_back(line);
        used += length;
        return true;
    };
    auto addCount = [&](const std::string& line) {
        const std::size_t length = measure(line) + separator;
        if (used + length > room) return;
        lines.push_back(line);
        used += length;
    };
    unsigned long long moreTablespaces = names.UnnamedTablespaces;
    for (const CriticalTablespace& row : names.Tablespaces)
        if (!addRow("TS=" + ShownName(row.TS) + Figures(row, TablespaceFigureNames))) ++moreTablespaces;
    if (moreTablespaces > 0) addCount("and " + Plural(moreTablespaces, "more critical tablespace", "more critical tablespaces"));
    unsigned long long moreObjects = names.UnnamedObjects;
    for (const CriticalObject& row : names.Objects) {
        const std::string line = "ON=" + ShownName(row.ON) + " TN=" + ShownName(row.TN) + " TS=" + ShownName(row.TS) +
                                 Figures(row, ObjectFigureNames);
        if (!addRow(line)) ++moreObjects;
    }
    if (moreObjects > 0) addCount("and " + Plural(moreObjects, "more critical object", "more critical objects"));
    if (names.Excluded > 0) addCount(ExcludedText(names.Excluded));
    return lines;
}
