#include "output/CheckmkWriter.h"

#include <algorithm>
#include <vector>

#include "output/CriticalNamesText.h"
#include "output/PluginWriter.h"
#include "output/MetricNames.h"
#include "output/Utf8.h"
#include "output/WholeReportWriter.h"

namespace {

constexpr const char* ServicePrefix = "SpaceWarden ";
// Room of a service's long output, and of all services' together: a listing of
// many systems stays a document the agent hands on whole.
constexpr std::size_t LongOutputRoom = 8000;
constexpr std::size_t DocumentLongOutputRoom = 256 * 1024;

// A text of a line: no line end (Checkmk would start a new service), no "|"
// (which separates metrics), no control character, DEL included.
std::string LineText(const std::string& text) {
    std::string shown = ValidUtf8(text);
    for (char& c : shown) {
        if (c == '|') c = '/';
        if ((c >= '\0' && c < ' ') || c == '\x7f') c = ' ';
    }
    return shown;
}

// A name in a service's name: the line's text, without '"'.
std::string NameText(const std::string& name) {
    std::string shown = LineText(name);
    for (char& c : shown)
        if (c == '"') c = '\'';
    return shown;
}

std::string ServiceName(const std::string& name) {
    // A run that ended before its profile was named is the sensor's own service.
    return "\"" + (name.empty() ? std::string("SpaceWarden") : ServicePrefix + NameText(name)) + "\"";
}

std::string Levels(const ThresholdsRecord& thresholds) {
    long long warning = 0, critical = 0;
    const bool warningGiven = LevelFromAbove(thresholds.Warning, warning);
    const bool criticalGiven = LevelFromAbove(thresholds.Critical, critical);
    if (!warningGiven && !criticalGiven) return "";
    return ";" + (warningGiven ? std::to_string(warning) : "") + ";" + (criticalGiven ? std::to_string(critical) : "");
}

struct Judged {
    int State = 0;
    std::string Breaches;  // "Critical_Indexes=1229 above 1000, ..."
};

// The channels judged: every one, or the one CH= selects (numbered from 1).
void Judge(Judged& judged, const ThresholdsRecord& thresholds, long number, const std::string& label, long long value) {
    const int level = JudgedChannelLevel(thresholds, number, static_cast<double>(value));
    if (level == 0) return;
    const std::string breach =
        RangeBreach(level == 2 ? thresholds.Critical : thresholds.Warning, label, std::to_string(value));
    if (level > judged.State) judged.Breaches.clear();
    if (level >= judged.State) judged.Breaches += (judged.Breaches.empty() ? "" : ", ") + breach;
    if (level > judged.State) judged.State = level;
}

std::string Line(const std::string& state, const std::string& service, const std::string& metrics,
                 const std::string& details, const std::string& longOutput = "") {
    return state + " " + ServiceName(service) + " " + (metrics.empty() ? "-" : metrics) + " " + LineText(details) +
           longOutput + "\n";
}

std::size_t ShownLength(const std::string& text) { return ValidUtf8(text).size(); }

// The critical rows after the details: each line after a literal "\n", which
// starts Checkmk's long output. A backslash of a name becomes "/", so that no
// name starts a line of its own. `room` is what the document has left.
std::string LongOutput(const CriticalNames& names, std::size_t& room) {
    std::string text;
    for (std::string row : RowLines(names, std::min(room, LongOutputRoom), 2, ShownLength)) {
        for (char& c : row)
            if (c == '\\') c = '/';
        text += "\\n" + LineText(row);
    }
    room -= std::min(room, text.size());
    return text;
}

std::string StateOf(const Judged& judged, const ThresholdsRecord& thresholds) {
    return thresholds.HostJudges ? "P" : std::to_string(judged.State);
}

std::string WithBreaches(const Judged& judged, const std::string& text) {
    return judged.Breaches.empty() ? text : judged.Breaches + " - " + text;
}

std::string ErrorState(const std::string& errorText) {
    return std::to_string(static_cast<int>(PluginErrorState(errorText)));
}

std::string SingleSystem(const RunReport& report, const ThresholdsRecord& thresholds) {
    const std::string error = SingleSystemFailure(report);
    if (!error.empty()) return Line(ErrorState(error), report.Subject, "", error);
    const SystemResult& system = report.Systems[0];
    std::string metrics, text;
    Judged judged;
    for (std::size_t index = 0; index < ChannelCount; ++index) {
        const std::string value = std::to_string(system.Values[index]);
        metrics += (metrics.empty() ? "" : "|") + MetricName(ChannelNames[index]) + "=" + value + Levels(thresholds);
        text += (text.empty() ? "" : ", ") + std::string(ChannelNames[index]) + "=" + value;
        Judge(judged, thresholds, static_cast<long>(index + 1), ChannelNames[index], system.Values[index]);
    }
    std::size_t room = LongOutputRoom;
    return Line(StateOf(judged, thresholds), report.Subject, metrics, WithBreaches(judged, text),
                LongOutput(system.Names, room));
}

std::string MultiSystem(const RunReport& report, const ThresholdsRecord& thresholds) {
    std::string lines;
    const std::size_t item = ChannelIndex(report.Item);
    long number = 0;  // the channels of the run, numbered across its systems
    const std::vector<std::string> services = DistinctSystemNames(report, NameText);
    std::size_t room = DocumentLongOutputRoom;
    for (std::size_t at = 0; at < report.Systems.size(); ++at) {
        const SystemResult& system = report.Systems[at];
        if (!system.Measured) {
            lines += Line("2", services[at], "", system.Failure);
            continue;
        }
        if (item == ChannelCount) {
            lines += Line("0", services[at], "", "no channel " + report.Item);
            continue;
        }
        const long long value = system.Values[item];
        Judged judged;
        Judge(judged, thresholds, ++number, system.Label, value);
        // Every channel's metric, the item's with the levels it is judged by.
        std::string metrics;
        for (std::size_t index = 0; index < ChannelCount; ++index)
            metrics += (metrics.empty() ? "" : "|") + MetricName(ChannelNames[index]) + "=" +
                       std::to_string(system.Values[index]) + (index == item ? Levels(thresholds) : "");
        lines += Line(StateOf(judged, thresholds), services[at], metrics,
                      WithBreaches(judged, report.Item + "=" + std::to_string(value)), LongOutput(system.Names, room));
    }
    const std::string counts = "NoSystems=" + std::to_string(report.NoSystems) +
                               ", Processed=" + std::to_string(report.Processed) +
                               ", Failed=" + std::to_string(report.Failed);
    if (!report.RunError.empty())
        return lines + Line(ErrorState(report.RunError), report.Subject, "", report.RunError + " - " + counts);
    const std::string metrics = "spacewarden_systems=" + std::to_string(report.NoSystems) +
                                "|spacewarden_processed=" + std::to_string(report.Processed) +
                                "|spacewarden_failed=" + std::to_string(report.Failed);
    return lines + Line("0", report.Subject, metrics, counts);
}

}  // namespace

std::string CheckmkLocalCheck(const RunReport& report, const ThresholdsRecord& thresholds) {
    return report.MultiSystem ? MultiSystem(report, thresholds) : SingleSystem(report, thresholds);
}

// Checkmk reads its services' states from the lines: the exit code is 0 whenever they were written.
std::unique_ptr<ReportWriter> MakeCheckmkWriter(const RunSettingsRecord& settings) {
    return MakeWholeReportWriter(settings, {CheckmkLocalCheck, [](const RunReport&) { return 0; }});
}
