#include "output/PrtgDocument.h"

#include "output/Console.h"
#include "output/CriticalNamesText.h"
#include "output/ReportWriter.h"

namespace {

std::string_view EscapedForm(const char& c) {
    switch (c) {
        case '&': return "&amp;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '\t': case '\n': case '\r': return std::string_view(&c, 1);
        default:
            // No XML reader takes the other control characters, NUL among them
            // (an RFC message or a trace hint may hold one): a blank stands in for each.
            if (c >= '\0' && c < ' ') return " ";
            return std::string_view(&c, 1);
    }
}

}  // namespace

std::string EscapeMarkup(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char& c : text) escaped += EscapedForm(c);
    return escaped;
}

void DocumentBuffer::Append(std::string_view text) {
    const std::size_t room = ResultDocumentRoom - text_.size();
    text_.append(text.substr(0, room));
}

void DocumentBuffer::AppendText(std::string_view text) {
    if (!xml_) {
        Append(text);
        return;
    }
    for (const char& c : text) {
        const std::string_view form = EscapedForm(c);
        if (text_.size() + form.size() > ResultDocumentRoom) return;
        text_ += form;
    }
}

std::string PrtgErrorDocument(std::string_view errorText, bool openingWritten) {
    std::string document = openingWritten ? "" : "<Prtg>\n";
    document += "<Error>1</Error>";
    document += "\n<Text>";
    document += EscapeMarkup(errorText.substr(0, MessageTextRoom));
    document += "</Text>";
    document += "\n</Prtg>\n";
    return document;
}

std::string MeasuredText(const std::string& destination, const ChannelValues& values, bool groupDigits) {
    auto shown = [groupDigits](long long count) {
        std::string digits = std::to_string(count);
        if (groupDigits) GroupDigits(digits);
        return digits;
    };
    return "(" + destination + ") Oracle: " + "Critical_Spaces=" + shown(values[0]) +
           ", Critical_Objects=" + shown(values[1]);
}

std::string SummaryText(const RunReport& report) {
    return "(***) " + report.Item + ": NoSystems=" + std::to_string(report.NoSystems) +
           ", Processed=" + std::to_string(report.Processed) + ", Failed=" + std::to_string(report.Failed);
}

std::string WithCriticalNames(const std::string& text, const RunReport& report, bool withNames, bool xml) {
    const TextMeasure measure = xml ? [](const std::string& shown) { return EscapeMarkup(shown).size(); } : ByteLength;
    std::string line = text;
    for (const SystemResult& system : report.Systems) {
        if (!system.Measured) continue;
        const std::string lead = report.MultiSystem ? "; " + system.Label + ": " : "; ";
        const std::size_t used = measure(line) + measure(lead);
        if (used >= PrtgTextRoom) break;
        const std::string note = NamesNote(system.Names, withNames, PrtgTextRoom - used, measure);
        if (!note.empty()) line += lead + note;
    }
    return line;
}

std::string MakeChannelKey(std::string key) {
    for (char separator : std::string(" /\\[]*():-"))
        for (char& c : key)
            if (c == separator) c = '_';
    std::size_t dot = key.find('.');
    if (dot != std::string::npos) key[dot] = '_';
    return key;
}

std::string ShownUnit(const std::string& unit) {
    if (unit.empty()) return "#";
    if (unit == "PerCent") return "%";
    if (unit == "TimeResponse") return "mSec";
    return unit;
}
