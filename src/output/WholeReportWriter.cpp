#include "output/WholeReportWriter.h"

#include "platform/Watchdog.h"

namespace {

class WholeReportWriter : public ReportWriter {
public:
    WholeReportWriter(const RunSettingsRecord& settings, WholeReportFormat format)
        : settings_(settings), format_(format) {}

    std::string Opening(const RunReport&) override { return ""; }
    std::string SystemDone(const RunReport&) override { return ""; }
    std::string Closing(const RunReport& report) override { return Document(report); }

    std::string Error(const RunReport& report, std::string_view errorText) override {
        RunReport ended = report;
        ended.RunError = std::string(errorText.substr(0, MessageTextRoom));
        return Document(ended);
    }

    // A document that could not be delivered is an error, whatever it says.
    int ExitCode(int) const override { return lost_ ? 2 : exitCode_; }
    void NoteDocumentLost() override { lost_ = true; }

private:
    // The document with how long the run took; sets the exit code the run ends with.
    std::string Document(RunReport report) {
        report.DurationSeconds = static_cast<double>(MillisecondsSinceProcessStart()) / 1000.0;
        exitCode_ = format_.ExitCode(report);
        return format_.Write(report, settings_.Thresholds);
    }

    const RunSettingsRecord& settings_;  // as start-up has read them so far
    WholeReportFormat format_;
    int exitCode_ = 2;  // before any document
    bool lost_ = false;
};

}  // namespace

std::unique_ptr<ReportWriter> MakeWholeReportWriter(const RunSettingsRecord& settings, WholeReportFormat format) {
    return std::make_unique<WholeReportWriter>(settings, format);
}
