#include "output/MeasuredDocument.h"

#include "config/RunSettings.h"
#include "output/Channel.h"
#include "output/Console.h"
#include "output/ResultDocument.h"

namespace {

std::string Grouped(long long count) {
    std::string digits = std::to_string(count);
    // A monitoring plugin's reader would take "1.234" for a decimal.
    if (RunSettings.HostFlavour != HostFormat::Nagios) GroupDigits(digits);
    return digits;
}

}  // namespace

void BuildSingleSystemDocument(const std::string& destination, const ChannelValues& values) {
    BeginDocument();
    BeginText();
    AppendTextToDocument("(" + destination + ") Oracle: " + "Critical_Spaces=" + Grouped(values[0]) +
                         ", Critical_Objects=" + Grouped(values[1]));
    EndText();
    for (std::size_t index = 0; index < ChannelCount; ++index)
        WriteChannel(ChannelNames[index], std::to_string(values[index]), "");
    EndDocument();
}

void WriteSystemChannel(const std::string& label, const ChannelValues& values, const std::string& item) {
    EmptyDocument();
    const std::size_t index = ChannelIndex(item);
    if (index == ChannelCount) return;
    WriteChannel(label, std::to_string(values[index]), "");
    WriteDocument();
    EmptyDocument();
}
