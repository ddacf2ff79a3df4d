// The channel writer in every flavour, with names, values, units, labels and
// options of arbitrary bytes. The input is cut at NUL bytes into: flavour and
// mode (one byte), options, name, value, unit, system label. Twelve channels
// are written, so that Pinewood's limit of ten is passed; the document never
// outgrows its room, and a Pinewood document holds at most ten channels.
#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "PluginLine.h"
#include "config/Thresholds.h"
#include "config/RunSettings.h"
#include "output/Channel.h"
#include "output/PluginStatus.h"
#include "output/ResultDocument.h"

namespace {

const char* const Flavours[] = {"EXEXML", "Kestrel", "Pinewood", "Juniper", "Bramble", "Nagios"};
constexpr unsigned FlavourCount = sizeof Flavours / sizeof Flavours[0];

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

bool IsWholeNumber(const std::string& text) {
    const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    return text.size() > digits && text.find_first_not_of("0123456789", digits) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResetSensorRecords();
    const std::vector<std::string> pieces = SplitInput(data, size, '\0', 6);
    const unsigned char mode = pieces[0].empty() ? 0 : static_cast<unsigned char>(pieces[0][0]);
    FindHostFormat(Flavours[mode % FlavourCount], RunSettings.HostFlavour);
    RunSettings.GlobalMode = (mode / FlavourCount) % 2 == 1;
    RunSettings.ParameterTextAsGiven = pieces[1];
    RunSettings.ParameterText = UpperAscii(pieces[1]);
    // The options' thresholds, when they are ranges (others end start-up with Error 1009).
    if (IsPluginFlavour() && !SelectThresholds(RunSettings.GlobalMode).empty()) Thresholds = ThresholdsRecord{};
    BeginDocument();

    for (int channel = 0; channel < 12; ++channel) WriteChannel(pieces[2], pieces[3], pieces[4]);
    Expect(ChannelCounter == 12, "every channel is counted");
    Expect(ResultDocument.size() <= ResultDocumentRoom, "a document within its room");
    // The sensor's values are whole numbers, which the performance data needs.
    const bool numeric = IsWholeNumber(pieces[3]);
    if (IsPluginFlavour()) {
        EndDocument();
        Expect(ResultDocument.size() <= ResultDocumentRoom, "a status line within the document's room");
        const std::string problem = PluginLineProblem(ResultDocument, PluginExitCode());
        if (!problem.empty()) std::fprintf(stderr, "line: %s\nproblem: %s\n", ResultDocument.c_str(), problem.c_str());
        if (numeric) Expect(problem.empty(), "one status line that a monitoring plugins' host reads");
    }
    if (RunSettings.HostFlavour == HostFormat::Pinewood && pieces[2].find("Statistic.") == std::string::npos &&
        pieces[3].find("Statistic.") == std::string::npos && pieces[4].find("Statistic.") == std::string::npos &&
        pieces[5].find("Statistic.") == std::string::npos)
        Expect(Occurrences(ResultDocument, "\nStatistic.") <= 10, "at most ten Pinewood channels");
    return 0;
}
