// The channels of the streamed formats (PRTG's XML and text flavours, the
// monitoring plugin), taken from the table of host formats, with labels,
// destinations and options of arbitrary bytes. The input is cut at NUL bytes
// into: a mode byte (the format, a listing or one system), the options, the
// item, a destination and the systems' labels. Twelve systems are measured, so
// that Pinewood's limit of ten channels is passed; no part outgrows the
// document's room, a Pinewood listing holds at most ten channels, and the
// hosts read the documents.
#include <cstddef>
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

namespace {

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

std::vector<HostFormat> StreamedFormats() {
    std::vector<HostFormat> formats;
    for (const HostFormat format : AllHostFormats())
        if (TraitsOf(format).StreamsSystems) formats.push_back(format);
    return formats;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResetSensorRecords();
    const std::vector<std::string> pieces = SplitInput(data, size, '\0', 6);
    const unsigned char mode = pieces[0].empty() ? 0 : static_cast<unsigned char>(pieces[0][0]);
    const std::vector<HostFormat> formats = StreamedFormats();
    RunSettingsRecord settings;
    settings.HostFlavour = formats[mode % formats.size()];
    settings.GlobalMode = (mode / formats.size()) % 2 == 1;
    settings.ParameterTextAsGiven = pieces[1];
    settings.ParameterText = UpperAscii(pieces[1]);
    settings.WholeWordOptions = settings.Host().PluginCommandLine;
    settings.ItemIdentification = pieces[2];
    // The options' thresholds, when they are ranges (others end start-up with Error 1009).
    if (settings.Host().JudgesThresholds && !SelectThresholds(settings, settings.GlobalMode).empty())
        settings.Thresholds = ThresholdsRecord{};
    const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);

    RunReport report;
    report.MultiSystem = settings.GlobalMode;
    report.Item = pieces[2];
    std::string output;
    if (report.MultiSystem) {
        output = writer->Opening(report);
        for (int system = 0; system < 12; ++system) {
            ++report.NoSystems;
            ++report.Processed;
            report.Systems.push_back(SystemResult{pieces[5], pieces[5], pieces[3], true, {system, 2, 3, 4, 5}, "", {}});
            const std::string part = writer->SystemDone(report);
            Expect(part.size() <= ResultDocumentRoom, "a channel within the document's room");
            output += part;
        }
    } else {
        report.Systems.push_back(SystemResult{pieces[5], pieces[5], pieces[3], true, {1, 1234, 3, 4, 5}, "", {}});
    }
    const std::string closing = writer->Closing(report);
    // The streamed parts end in the line end of their writing, outside the room.
    Expect(closing.size() <= ResultDocumentRoom + 1, "a closing within the document's room");
    output += closing;
    const std::string problem = HostReadingProblem(settings.HostFlavour, output, writer->ExitCode(0));
    if (!problem.empty()) std::fprintf(stderr, "output: %s\nproblem: %s\n", output.c_str(), problem.c_str());
    Expect(problem.empty(), "a document its host reads");
    if (settings.HostFlavour == HostFormat::Pinewood && report.MultiSystem &&
        pieces[5].find("Statistic.") == std::string::npos)
        Expect(Occurrences(output, "\nStatistic.") <= 10, "at most ten Pinewood channels");
    return 0;
}
