// The channel writer in every flavour, with names, values, units, labels and
// options of arbitrary bytes. The input is cut at NUL bytes into: flavour and
// mode (one byte), options, name, value, unit, system label. Twelve channels
// are written, so that Pinewood's limit of ten is passed; the document never
// outgrows its room, and a Pinewood document holds at most ten channels.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "config/RunSettings.h"
#include "output/Channel.h"
#include "output/ResultDocument.h"

namespace {

const char* const Flavours[] = {"EXEXML", "Kestrel", "Pinewood", "Juniper", "Bramble"};

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResetSensorRecords();
    const std::vector<std::string> pieces = SplitInput(data, size, '\0', 6);
    const unsigned char mode = pieces[0].empty() ? 0 : static_cast<unsigned char>(pieces[0][0]);
    RunSettings.HostFlavour = Flavours[mode % 5];
    RunSettings.GlobalMode = (mode / 5) % 2 == 1;
    RunSettings.ParameterTextAsGiven = pieces[1];
    RunSettings.ParameterText = UpperAscii(pieces[1]);
    SystemLabel = pieces[5];

    for (int channel = 0; channel < 12; ++channel) WriteChannel(pieces[2], pieces[3], pieces[4]);
    Expect(ChannelCounter == 12, "every channel is counted");
    Expect(ResultDocument.size() <= ResultDocumentRoom, "a document within its room");
    if (RunSettings.HostFlavour == "Pinewood" && pieces[2].find("Statistic.") == std::string::npos &&
        pieces[3].find("Statistic.") == std::string::npos && pieces[4].find("Statistic.") == std::string::npos &&
        pieces[5].find("Statistic.") == std::string::npos)
        Expect(Occurrences(ResultDocument, "\nStatistic.") <= 10, "at most ten Pinewood channels");
    return 0;
}
