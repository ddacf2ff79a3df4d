#include "output/PrometheusWriter.h"

#include <cstdio>
#include <vector>

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
    for (const Sample& sample : samples)
        text += name + "{system=\"" + PrometheusLabelValue(sample.System) + "\"} " + std::to_string(sample.Value) + "\n";
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
        if (report.MultiSystem && report.Item != ChannelNames[index]) continue;
        std::vector<Sample> samples;
        for (std::size_t at = 0; at < report.Systems.size(); ++at)
            if (report.Systems[at].Measured) samples.push_back(Sample{systems[at], report.Systems[at].Values[index]});
        text += Family(MetricName(ChannelNames[index]), std::string("Channel ") + ChannelNames[index] +
                       " of the critical objects check.", samples);
    }
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
