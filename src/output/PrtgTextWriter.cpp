// PRTG's plain-text flavours, one writer with the flavour as its parameter:
// "Pinewood" ("Message.<key>: name (unit)" and "Statistic.<key>: value" for
// at most ten channels) and "Juniper" ("> name: value unit", or with CH= the
// value of that one channel alone). Their error document is PRTG's XML.
#include <cstdlib>

#include "config/RunSettings.h"
#include "output/PrtgDocument.h"
#include "output/ReportWriter.h"

namespace {

enum class TextFlavour { Pinewood, Juniper };

class PrtgTextWriter : public ReportWriter {
public:
    PrtgTextWriter(const RunSettingsRecord& settings, TextFlavour flavour) : settings_(settings), flavour_(flavour) {}

    std::string Opening(const RunReport&) override { return "\n"; }

    std::string SystemDone(const RunReport& report) override {
        const SystemResult& system = report.Systems.back();
        const long long* value = ItemValue(report, system);
        if (!value) return "";
        DocumentBuffer document(false);
        AppendChannel(document, system.Label, std::to_string(*value), "");
        return document.Text();
    }

    std::string Closing(const RunReport& report) override {
        DocumentBuffer document(false);
        if (report.MultiSystem) {
            AppendTextLine(document, WithCriticalNames(SummaryText(report), report, settings_.Names.InPrtgText, false));
            document.Append("\n");
            return document.Text() + "\n";
        }
        const SystemResult& system = report.Systems.front();
        AppendTextLine(document, WithCriticalNames(MeasuredText(system.Destination, system.Values,
                                                                settings_.Host().GroupsDigits),
                                                   report, settings_.Names.InPrtgText, false));
        for (std::size_t index = 0; index < ChannelCount; ++index)
            AppendChannel(document, ChannelNames[index], std::to_string(system.Values[index]), "");
        document.Append("\n");
        return document.Text();
    }

    std::string Error(const RunReport&, std::string_view errorText) override {
        return PrtgErrorDocument(errorText, false);
    }

    int ExitCode(int sensorExitCode) const override { return sensorExitCode; }

private:
    void AppendTextLine(DocumentBuffer& document, const std::string& text) const {
        document.Append("\n# ");
        document.AppendText(text);
        // A single selected channel makes up the whole document.
        if (ChannelSelected()) document.Clear();
    }

    void AppendChannel(DocumentBuffer& document, const std::string& nameGiven, const std::string& valueGiven,
                       const std::string& unitGiven) {
        ++channelCounter_;
        if (flavour_ == TextFlavour::Pinewood && channelCounter_ > 10) return;
        const std::string name = nameGiven.substr(0, ChannelTextRoom);
        const std::string value = valueGiven.substr(0, ChannelTextRoom);
        const std::string unit = unitGiven.substr(0, ChannelTextRoom);
        if (flavour_ == TextFlavour::Pinewood) {
            const std::string key = MakeChannelKey(name);
            document.Append("\n\nMessage." + key + ": " + name + " (" + ShownUnit(unit) + ")" + "\nStatistic." + key +
                            ": " + value);
        } else if (ChannelSelected()) {
            if (SelectedChannel() == static_cast<long>(channelCounter_)) document.Append(value);
        } else {
            document.Append("\n> " + name + ": " + value + " " + ShownUnit(unit));
        }
    }

    bool ChannelSelected() const { return flavour_ == TextFlavour::Juniper && settings_.Has("CH="); }
    // The number after "CH=": at most three characters, ending before a comma,
    // read like atol (leading blanks, a sign, digits; none give 0).
    long SelectedChannel() const { return std::atol(settings_.ValueAt("CH=", 3, ",").c_str()); }

    const RunSettingsRecord& settings_;  // as start-up has read them so far
    TextFlavour flavour_;
    // The channels of the run, numbered across a listing's systems.
    unsigned channelCounter_ = 0;
};

}  // namespace

std::unique_ptr<ReportWriter> MakePinewoodWriter(const RunSettingsRecord& settings) {
    return std::make_unique<PrtgTextWriter>(settings, TextFlavour::Pinewood);
}

std::unique_ptr<ReportWriter> MakeJuniperWriter(const RunSettingsRecord& settings) {
    return std::make_unique<PrtgTextWriter>(settings, TextFlavour::Juniper);
}
