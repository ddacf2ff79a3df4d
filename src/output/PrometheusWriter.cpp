#include "output/PrometheusWriter.h"

#include <cstdio>
#include <vector>

#include "output/MetricNames.h"
#include "output/Utf8.h"

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

// A comment line: the text on one line.
std::string Comment(const std::string& text) {
    std::string line = ValidUtf8(text);
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    return "# " + line + "\n";
}

// The name a system has in the labels: its label in a multi-system run, the
// run's subject otherwise.
std::string SystemOf(const RunReport& report, const SystemResult& system) {
    return report.MultiSystem ? system.Label : report.Subject;
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
    for (const SystemResult& system : report.Systems) {
        up.push_back(Sample{SystemOf(report, system), system.Measured ? 1 : 0});
        if (!system.Measured) text += Comment(SystemOf(report, system) + ": " + system.Failure);
    }
    // A single-system run that ended before its system was measured: the system is not up.
    if (!report.MultiSystem && report.Systems.empty()) up.push_back(Sample{report.Subject, 0});
    if (!report.RunError.empty()) text += Comment(report.RunError);

    text += Family("spacewarden_up", "Whether the SAP system was checked (1) or failed (0).", up);
    for (std::size_t index = 0; index < ChannelCount; ++index) {
        if (report.MultiSystem && report.Item != ChannelNames[index]) continue;
        std::vector<Sample> samples;
        for (const SystemResult& system : report.Systems)
            if (system.Measured) samples.push_back(Sample{SystemOf(report, system), system.Values[index]});
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
