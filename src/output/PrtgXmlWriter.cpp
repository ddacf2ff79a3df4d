#include "output/PrtgXmlWriter.h"

#include "config/RunSettings.h"
#include "output/PrtgDocument.h"
#include "output/ReportWriter.h"

namespace {

void AppendChannel(DocumentBuffer& document, const std::string& nameGiven, const std::string& valueGiven,
                   const std::string& unitGiven) {
    const std::string name = nameGiven.substr(0, ChannelTextRoom);
    const std::string value = valueGiven.substr(0, ChannelTextRoom);
    const std::string unit = unitGiven.substr(0, ChannelTextRoom);
    document.Append("\n<Result><Channel>");
    document.AppendText(name);
    document.Append("</Channel>");
    if (!unit.empty()) {
        document.Append("\n<Unit>Custom</Unit>\n<CustomUnit>");
        document.AppendText(unit);
        document.Append("</CustomUnit>");
    }
    document.Append("\n<Value>");
    document.AppendText(value);
    document.Append("</Value></Result>\n");
}

class PrtgXmlWriter : public ReportWriter {
public:
    explicit PrtgXmlWriter(const RunSettingsRecord& settings) : settings_(settings) {}

    std::string Opening(const RunReport&) override {
        // Written with the line end of a streamed run's parts; only the summary
        // or an error document closes it.
        openingWritten_ = true;
        return "\n<Prtg>\n\n";
    }

    std::string SystemDone(const RunReport& report) override {
        const SystemResult& system = report.Systems.back();
        const long long* value = ItemValue(report, system);
        if (!value) return "";
        DocumentBuffer document(true);
        AppendChannel(document, system.Label, std::to_string(*value), "");
        return document.Text();
    }

    std::string Closing(const RunReport& report) override {
        DocumentBuffer document(true);
        if (report.MultiSystem) {
            document.Append("\n<Text>");
            document.AppendText(WithCriticalNames(SummaryText(report), report, settings_.Names.InPrtgText, true));
            document.Append("</Text>\n");
            document.Append("\n</Prtg>\n");
            return document.Text() + "\n";
        }
        const SystemResult& system = report.Systems.front();
        document.Append("\n<Prtg>\n");
        document.Append("\n<Text>");
        document.AppendText(WithCriticalNames(
            MeasuredText(system.Destination, system.Values, settings_.Host().GroupsDigits), report,
            settings_.Names.InPrtgText, true));
        document.Append("</Text>\n");
        for (std::size_t index = 0; index < ChannelCount; ++index)
            AppendChannel(document, ChannelNames[index], std::to_string(system.Values[index]), "");
        document.Append("\n</Prtg>\n");
        return document.Text();
    }

    std::string Error(const RunReport&, std::string_view errorText) override {
        return PrtgErrorDocument(errorText, openingWritten_);
    }

    int ExitCode(int sensorExitCode) const override { return sensorExitCode; }

private:
    const RunSettingsRecord& settings_;  // as start-up has read them so far
    bool openingWritten_ = false;
};

}  // namespace

std::string PrtgXmlChannel(const std::string& name, const std::string& value, const std::string& unit) {
    DocumentBuffer document(true);
    AppendChannel(document, name, value, unit);
    return document.Text();
}

std::unique_ptr<ReportWriter> MakePrtgXmlWriter(const RunSettingsRecord& settings) {
    return std::make_unique<PrtgXmlWriter>(settings);
}
