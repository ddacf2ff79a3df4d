#include "output/PrometheusWriter.h"

#include <cctype>
#include <cstdio>
#include <set>
#include <utility>
#include <vector>

#include "output/CriticalNamesText.h"
#include "output/MetricNames.h"
#include "output/Utf8.h"
#include "output/WholeReportWriter.h"

namespace {

struct Sample {
    std::string System;
    long long Value;
};

std::string Family(const std::string& name, const std::string& help, const std::vector<Sample>& samples) {
    if (samples.empty()) return "";
    std::string text = "# HELP " + name + " " + help + "\n# TYPE " + name + " gauge\n";
    // A run that ended before it knew its system (no profile named) has no
    // label: Prometheus reads an empty label value as no label anyway.
    for (const Sample& sample : samples)
        text += name + (sample.System.empty() ? "" : "{system=\"" + PrometheusLabelValue(sample.System) + "\"}") + " " +
                std::to_string(sample.Value) + "\n";
    return text;
}

// Named rows in one file, all systems together: a listing of many systems
// stays a file node_exporter reads at each scrape. The rest are counted.
constexpr std::size_t RowSeriesRoom = 2000;

// A row's series: its labels after the system's, and its figures.
struct RowSample {
    std::string System;
    std::string Labels;  // ,tablespace="PSAPTEMP" or ,object="...",table="...",tablespace="..."
    const std::int32_t* Figures;
};

std::string RowFamily(const std::string& name, const std::string& help, const std::vector<RowSample>& samples,
                      std::size_t figure) {
    if (samples.empty()) return "";
    std::string text = "# HELP " + name + " " + help + "\n# TYPE " + name + " gauge\n";
    for (const RowSample& sample : samples)
        text += name + "{system=\"" + PrometheusLabelValue(sample.System) + "\"" + sample.Labels + "} " +
                std::to_string(sample.Figures[figure]) + "\n";
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Label values of one system's rows, one set per row: a name two rows share
// (or that two names become once shown) gets " #2", " #3", ... until no
// other row has it, so that no two series of a metric have one label set,
// which would make node_exporter refuse the whole file.
class DistinctLabels {
public:
    explicit DistinctLabels(std::set<std::string> taken) : taken_(std::move(taken)) {}
    // `first` is the label that takes the mark; `rest` the labels after it.
    std::string Labels(const std::string& label, const std::string& first, const std::string& rest) {
        std::string value = first;
        for (unsigned n = 2; used_.count(Key(value, rest)) > 0 || (value != first && taken_.count(Key(value, rest)) > 0); ++n)
            value = first + " #" + std::to_string(n);
        used_.insert(Key(value, rest));
        return "," + label + "=\"" + PrometheusLabelValue(value) + "\"" + rest;
    }
    static std::string Key(const std::string& value, const std::string& rest) { return value + '\0' + rest; }

private:
    std::set<std::string> taken_;  // every row's own label set
    std::set<std::string> used_;
};

std::string Quoted(const char* label, const std::string& name) {
    return std::string(",") + label + "=\"" + PrometheusLabelValue(ShownName(name)) + "\"";
}

// A row's label that takes the " #n" mark, and the labels after it.
using LabelPair = std::pair<std::string, std::string>;

// A system's rows of one kind as series, as many as the file's room takes;
// returns how many of them are then not named.
template <typename Row, typename LabelsOf>
unsigned long long AddRowSamples(const std::string& system, const std::vector<Row>& rows, unsigned long long unnamed,
                                 const char* label, LabelsOf labelsOf, std::size_t& room,
                                 std::vector<RowSample>& samples) {
    std::set<std::string> own;
    for (const Row& row : rows) {
        const LabelPair labels = labelsOf(row);
        own.insert(DistinctLabels::Key(labels.first, labels.second));
    }
    DistinctLabels distinct(own);
    for (const Row& row : rows) {
        if (room == 0) {
            ++unnamed;
            continue;
        }
        --room;
        const LabelPair labels = labelsOf(row);
        samples.push_back(RowSample{system, distinct.Labels(label, labels.first, labels.second), row.Figures.data()});
    }
    return unnamed;
}

// The critical rows of every measured system as series, the counts of what is not named as gauges.
std::string RowSeries(const RunReport& report, const std::vector<std::string>& systems) {
    std::vector<RowSample> tablespaces, objects;
    std::vector<Sample> unnamedTablespaces, unnamedObjects, excluded;
    std::size_t room = RowSeriesRoom;
    for (std::size_t at = 0; at < report.Systems.size(); ++at) {
        const SystemResult& system = report.Systems[at];
        if (!system.Measured) continue;
        const CriticalNames& names = system.Names;
        const unsigned long long moreTablespaces =
            AddRowSamples(systems[at], names.Tablespaces, names.UnnamedTablespaces, "tablespace",
                          [](const CriticalTablespace& row) { return LabelPair{ShownName(row.TS), ""}; }, room,
                          tablespaces);
        const unsigned long long moreObjects = AddRowSamples(
            systems[at], names.Objects, names.UnnamedObjects, "object",
            [](const CriticalObject& row) {
                return LabelPair{ShownName(row.ON), Quoted("table", row.TN) + Quoted("tablespace", row.TS)};
            },
            room, objects);
        unnamedTablespaces.push_back(Sample{systems[at], static_cast<long long>(moreTablespaces)});
        unnamedObjects.push_back(Sample{systems[at], static_cast<long long>(moreObjects)});
        excluded.push_back(Sample{systems[at], static_cast<long long>(names.Excluded)});
    }
    std::string text;
    for (std::size_t figure = 0; figure < TablespaceFigureNames.size(); ++figure)
        text += RowFamily("spacewarden_critical_tablespace_" + Lower(TablespaceFigureNames[figure]),
                          std::string("Field ") + TablespaceFigureNames[figure] +
                              " of a critical tablespace (TS_CHECK), as SAP returns it.",
                          tablespaces, figure);
    for (std::size_t figure = 0; figure < ObjectFigureNames.size(); ++figure)
        text += RowFamily("spacewarden_critical_object_" + Lower(ObjectFigureNames[figure]),
                          std::string("Field ") + ObjectFigureNames[figure] +
                              " of a critical database object (CRITOBJ), as SAP returns it.",
                          objects, figure);
    text += Family("spacewarden_critical_tablespaces_unnamed",
                   "Critical tablespaces counted but not named (beyond NAMES= or the file's room).", unnamedTablespaces);
    text += Family("spacewarden_critical_objects_unnamed",
                   "Critical database objects counted but not named (beyond NAMES= or the file's room).", unnamedObjects);
    text += Family("spacewarden_critical_rows_excluded",
                   "Rows of critical tablespaces and objects left out by EXCLUDE=.", excluded);
    return text;
}

// A comment line: the text on one line, after a word that no parser takes
// for HELP or TYPE (a system may be called "HELP x").
std::string Comment(const std::string& text) {
    std::string line = ValidUtf8(text);
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    return "# SpaceWarden: " + line + "\n";
}

// The name each system has in the labels: a distinct one per listed system
// (one series per name), the run's subject in a single-system run.
std::vector<std::string> SystemsOf(const RunReport& report) {
    if (report.MultiSystem) return DistinctSystemNames(report, [](const std::string& name) { return ValidUtf8(name); });
    return std::vector<std::string>(report.Systems.size(), report.Subject);
}

}  // namespace

std::string PrometheusLabelValue(const std::string& text) {
    std::string escaped;
    for (char c : ValidUtf8(text)) {
        if (c == '\\') escaped += "\\\\";
        else if (c == '"') escaped += "\\\"";
        else if (c == '\n') escaped += "\\n";
        else escaped += c;
    }
    return escaped;
}

std::string PrometheusText(const RunReport& report) {
    std::string text;
    std::vector<Sample> up;
    const std::vector<std::string> systems = SystemsOf(report);
    for (std::size_t at = 0; at < report.Systems.size(); ++at) {
        up.push_back(Sample{systems[at], report.Systems[at].Measured ? 1 : 0});
        if (!report.Systems[at].Measured) text += Comment(systems[at] + ": " + report.Systems[at].Failure);
    }
    // A single-system run that ended before its system was measured: the system is not up.
    if (!report.MultiSystem && report.Systems.empty()) up.push_back(Sample{report.Subject, 0});
    if (!report.RunError.empty()) text += Comment(report.RunError);

    text += Family("spacewarden_up", "Whether the SAP system was checked (1) or failed (0).", up);
    for (std::size_t index = 0; index < ChannelCount; ++index) {
        std::vector<Sample> samples;
        for (std::size_t at = 0; at < report.Systems.size(); ++at)
            if (report.Systems[at].Measured) samples.push_back(Sample{systems[at], report.Systems[at].Values[index]});
        text += Family(MetricName(ChannelNames[index]), std::string("Channel ") + ChannelNames[index] +
                       " of the critical objects check.", samples);
    }
    text += RowSeries(report, systems);
    text += "# HELP spacewarden_run_success Whether the run came to its end (1) or an error ended it (0).\n"
            "# TYPE spacewarden_run_success gauge\n"
            "spacewarden_run_success " + std::string(report.RunError.empty() ? "1" : "0") + "\n";
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.3f", report.DurationSeconds);
    text += "# HELP spacewarden_run_duration_seconds How long the run took.\n"
            "# TYPE spacewarden_run_duration_seconds gauge\n"
            "spacewarden_run_duration_seconds " + std::string(duration) + "\n";
    return text;
}

// A job's log shows a run that an error ended (the file is written all the same).
std::unique_ptr<ReportWriter> MakePrometheusWriter(const RunSettingsRecord& settings) {
    return MakeWholeReportWriter(
        settings, {[](const RunReport& report, const ThresholdsRecord&) { return PrometheusText(report); },
                   [](const RunReport& report) { return report.RunError.empty() ? 0 : 2; }});
}
