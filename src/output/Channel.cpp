#include "output/Channel.h"

#include <cstdlib>

#include "config/RunSettings.h"
#include "output/PluginStatus.h"
#include "output/ResultDocument.h"

unsigned ChannelCounter = 0;

namespace {

std::string Bounded(const std::string& text) { return text.substr(0, ChannelTextRoom); }

std::string ShownUnit(const std::string& unit) {
    if (unit.empty()) return "#";
    if (unit == "PerCent") return "%";
    if (unit == "TimeResponse") return "mSec";
    return unit;
}

// The number after "CH=": at most three characters, ending before a comma,
// read like atol (leading blanks, a sign, digits; none give 0).
long SelectedChannel() {
    std::string digits = OptionValueAt("CH=", 3, ",");
    return std::atol(digits.c_str());
}

}  // namespace

std::string MakeChannelKey(std::string key) {
    for (char separator : std::string(" /\\[]*():-"))
        for (char& c : key)
            if (c == separator) c = '_';
    std::size_t dot = key.find('.');
    if (dot != std::string::npos) key[dot] = '_';
    return key;
}

void WriteChannel(const std::string& nameGiven, const std::string& valueGiven, const std::string& unitGiven) {
    ++ChannelCounter;
    const HostFormat flavour = RunSettings.HostFlavour;
    if (flavour == HostFormat::Pinewood && ChannelCounter > 10) return;

    std::string name = Bounded(nameGiven);
    std::string value = Bounded(valueGiven);
    std::string unit = Bounded(unitGiven);
    // A multi-system run names each channel by its system's label, which makes the key.
    std::string key = MakeChannelKey(name);

    if (IsPluginFlavour()) {
        AddPluginChannel(ChannelCounter, name, value);  // performance data of the status line
    } else if (flavour == HostFormat::Pinewood) {
        AppendToDocument("\n\nMessage." + key + ": " + name + " (" + ShownUnit(unit) + ")" + "\nStatistic." + key +
                         ": " + value);
    } else if (flavour == HostFormat::Juniper && ParameterHas("CH=")) {
        if (SelectedChannel() == static_cast<long>(ChannelCounter)) AppendToDocument(value);
    } else if (flavour == HostFormat::Juniper) {
        AppendToDocument("\n> " + name + ": " + value + " " + ShownUnit(unit));
    } else {
        AppendToDocument("\n<Result><Channel>");
        AppendTextToDocument(name);
        AppendToDocument("</Channel>");
        if (!unit.empty()) {
            AppendToDocument("\n<Unit>Custom</Unit>\n<CustomUnit>");
            AppendTextToDocument(unit);
            AppendToDocument("</CustomUnit>");
        }
        AppendToDocument("\n<Value>");
        AppendTextToDocument(value);
        AppendToDocument("</Value></Result>\n");
    }
}
