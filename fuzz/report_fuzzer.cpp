// The writers of the formats written from the whole report, over reports made
// of the input: the input is cut at NUL bytes into a mode byte, the options
// (WARN=, CRIT=, CH=, STATE=), the item, the run's error and the systems'
// labels and failures (a label and a failure each, "" for a measured system).
// Whatever the texts hold, Checkmk reads its lines, PRTG's Script v2 its JSON
// object and Prometheus' parser its text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "ReportFormats.h"
#include "config/RunSettings.h"
#include "config/Thresholds.h"
#include "output/CheckmkWriter.h"
#include "output/PrometheusWriter.h"
#include "output/ScriptV2Writer.h"
#include "report/RunReport.h"

namespace {

void ExpectReadable(const std::string& format, const std::string& output, const std::string& problem) {
    if (!problem.empty()) std::fprintf(stderr, "%s: %s\nproblem: %s\n", format.c_str(), output.c_str(), problem.c_str());
    Expect(problem.empty(), "a document its host reads");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResetSensorRecords();
    const std::vector<std::string> pieces = SplitInput(data, size, '\0', 64);
    const std::size_t given = std::min<std::size_t>(64, 1 + std::count(data, data + size, std::uint8_t{0}));
    const unsigned char mode = pieces[0].empty() ? 0 : static_cast<unsigned char>(pieces[0][0]);

    RunSettings.ParameterTextAsGiven = pieces[1];
    RunSettings.ParameterText = UpperAscii(pieces[1]);
    RunReport report;
    report.MultiSystem = (mode & 1) != 0;
    // Only options a run accepts reach the writers; others end start-up with Error 1009.
    if (!SelectThresholds(report.MultiSystem, true).empty()) Thresholds = ThresholdsRecord{};
    report.Item = (mode & 2) != 0 ? pieces[2] : ChannelNames[mode % ChannelCount];
    report.RunError = (mode & 4) != 0 ? pieces[3] : "";
    report.Subject = pieces[4];
    report.DurationSeconds = mode * 0.37;
    for (std::size_t at = 5; at + 1 < given; at += 2) {
        SystemResult system{pieces[at], pieces[at], pieces[at], pieces[at + 1].empty(), {}, pieces[at + 1]};
        for (std::size_t index = 0; index < ChannelCount; ++index)
            system.Values[index] = static_cast<long long>(pieces[at].size() * 977 + index) - 40;
        ++report.NoSystems;
        ++(system.Measured ? report.Processed : report.Failed);
        report.Systems.push_back(system);
    }
    if (!report.MultiSystem && report.Systems.size() > 1) report.Systems.resize(1);

    const std::string checkmk = CheckmkLocalCheck(report, Thresholds);
    ExpectReadable("Checkmk", checkmk, CheckmkLinesProblem(checkmk));
    const std::string scriptV2 = ScriptV2Document(report, Thresholds);
    ExpectReadable("Script v2", scriptV2, ScriptV2Problem(scriptV2));
    const std::string prometheus = PrometheusText(report);
    ExpectReadable("Prometheus", prometheus, PrometheusProblem(prometheus));
    return 0;
}
