// The one road from a run's report to the host's bytes: a writer per host
// format, which alone knows that format. The run hands it the report as it
// grows and writes what it returns.
#pragma once

#include <string>
#include <string_view>

#include "report/RunReport.h"

// Room of an error text in every host's document: 127 characters.
constexpr std::size_t MessageTextRoom = 127;

class ReportWriter {
public:
    virtual ~ReportWriter() = default;

    // A multi-system run: what goes out before its first system (a streamed
    // document's opening); empty for a format written at the end.
    virtual std::string Opening(const RunReport& report) = 0;
    // A listed system is done (the last of report.Systems): what goes out now
    // (a streamed document's channel); empty for a format written at the end.
    virtual std::string SystemDone(const RunReport& report) = 0;
    // The run came to its end: a single-system run's document of its measured
    // system, or a multi-system run's summary and closing (a format written at
    // the end: its whole document).
    virtual std::string Closing(const RunReport& report) = 0;
    // An error ended the run: the document that says so, with what the report
    // holds of the systems already done. The text is cut to MessageTextRoom.
    virtual std::string Error(const RunReport& report, std::string_view errorText) = 0;

    // The exit code the host reads for the sensor's own: 0 success, 1 the
    // library's fatal report, 2 an error document.
    virtual int ExitCode(int sensorExitCode) const = 0;
    // The exit code when standard output could not take the document.
    virtual int LostOutputExitCode() const { return 2; }
    // The document could not be delivered where it goes (--textfile).
    virtual void NoteDocumentLost() {}
};
