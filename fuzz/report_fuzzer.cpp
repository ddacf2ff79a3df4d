// Every format's writer, from the table of host formats, over reports made of
// the input: the input is cut at NUL bytes into a mode byte, the options
// (WARN=, CRIT=, CH=, STATE=, FLAVOUR=...), the item, the run's error and the
// systems' labels and failures (a label and a failure each, "" for a measured
// system). The writer gets the report as a run hands it over: a single
// system's document, a listing streamed system by system, or an error that
// ends either. Whatever the texts hold, each part stays within the document's
// room where the format has one, and the format's host reads the whole.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "HostChecks.h"
#include "config/RunSettings.h"
#include "config/Thresholds.h"
#include "output/PrtgDocument.h"
#include "output/ReportWriter.h"
#include "report/RunReport.h"

namespace {

RunReport ReportOf(const std::vector<std::string>& pieces, std::size_t given, unsigned char mode) {
    RunReport report;
    report.MultiSystem = (mode & 1) != 0;
    report.Item = (mode & 2) != 0 ? pieces[2] : ChannelNames[mode % ChannelCount];
    report.Subject = pieces[4];
    report.DurationSeconds = mode * 0.37;
    for (std::size_t at = 5; at + 1 < given; at += 2) {
        SystemResult system{pieces[at], pieces[at], pieces[at], pieces[at + 1].empty(), {}, pieces[at + 1], {}};
        for (std::size_t index = 0; index < ChannelCount; ++index)
            system.Values[index] = static_cast<long long>(pieces[at].size() * 977 + index) - 40;
        report.Systems.push_back(system);
    }
    if (!report.MultiSystem && report.Systems.size() > 1) report.Systems.resize(1);
    return report;
}

// What the writer of a format writes for the report, as a run hands it over.
std::string Written(ReportWriter& writer, const RunReport& whole, const std::string& runError, bool streams) {
    if (!whole.MultiSystem) {
        if (!runError.empty() || whole.Systems.empty() || !whole.Systems[0].Measured) {
            const std::string error = runError.empty() ? "Error 1011: RFC-Open for X failed !" : runError;
            return writer.Error(whole, error);
        }
        return writer.Closing(whole);
    }
    RunReport report = whole;
    report.Systems.clear();
    std::string written = writer.Opening(report);
    for (const SystemResult& system : whole.Systems) {
        ++report.NoSystems;
        ++(system.Measured ? report.Processed : report.Failed);
        report.Systems.push_back(system);
        const std::string part = writer.SystemDone(report);
        if (streams) Expect(part.size() <= ResultDocumentRoom, "a streamed part within the document's room");
        written += part;
    }
    return written + (runError.empty() ? writer.Closing(report) : writer.Error(report, runError));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResetSensorRecords();
    const std::vector<std::string> pieces = SplitInput(data, size, '\0', 64);
    const std::size_t given = std::min<std::size_t>(64, 1 + std::count(data, data + size, std::uint8_t{0}));
    const unsigned char mode = pieces[0].empty() ? 0 : static_cast<unsigned char>(pieces[0][0]);
    const RunReport report = ReportOf(pieces, given, mode);
    const std::string runError = (mode & 4) != 0 ? pieces[3] : "";

    for (const HostFormat format : AllHostFormats()) {
        RunSettingsRecord settings;
        settings.HostFlavour = format;
        settings.ParameterTextAsGiven = pieces[1];
        settings.ParameterText = UpperAscii(pieces[1]);
        settings.WholeWordOptions = settings.Host().PluginCommandLine;
        settings.GlobalMode = report.MultiSystem;
        settings.ItemIdentification = report.Item;
        // Only options a run accepts reach the writers; others end start-up with Error 1009.
        if (settings.Host().JudgesThresholds &&
            !SelectThresholds(settings, report.MultiSystem, settings.Host().HostLevels).empty())
            settings.Thresholds = ThresholdsRecord{};
        const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
        const std::string output = Written(*writer, report, runError, settings.Host().StreamsSystems);
        const std::string problem = HostReadingProblem(format, output, writer->ExitCode(runError.empty() ? 0 : 2));
        if (!problem.empty())
            std::fprintf(stderr, "%s: %s\nproblem: %s\n", HostFormatName(format).c_str(), output.c_str(), problem.c_str());
        Expect(problem.empty(), "a document its host reads");
    }
    return 0;
}
