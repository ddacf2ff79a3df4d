#include "run/RunEnd.h"

#include <string>

#include "config/RunSettings.h"
#include "output/Console.h"
#include "output/RunContext.h"
#include "output/RunDocument.h"
#include "output/StandardOutput.h"
#include "platform/Files.h"
#include "rfc/RfcLibrary.h"

void EndWithErrorDocument(std::string_view messageText) {
    WriteErrorDocument(messageText);
    EndProcess(2);
}

std::string GatheredError(const std::string& failure) { return failure + TraceHint(); }

void EndWithGatheredError(RFC_HANDLE handle, const std::string& failure, bool closeFirst) {
    if (closeFirst) Rfc.RfcClose(handle);
    const std::string messageText = GatheredError(failure);
    WriteErrorDocument(messageText);
    DocumentComplete(2);
    if (!closeFirst) Rfc.RfcClose(handle);
    EndProcess(2);
}

void EndWithFatalReport(const RfcFatalReport& report) {
    // The end-of-output marker the fatal report creates; nothing in this sensor
    // names one, so its creation fails and the report says so.
    const std::string endOfOutputMarkerPath;
    // The report's lines are console text, which PRTG's parser cannot read:
    // quietly, in an XML flavour, the host gets the report as an error
    // document, and a monitoring plugin's host as its status line, which a
    // verbose run writes after the report.
    const std::string errorText =
        "Error 1020: RFC error in " + report.Operation + (report.Message.empty() ? "" : " - " + report.Message);
    const RunSettingsRecord& settings = *RunContext.Settings;
    const bool asDocument = !settings.VerboseMode && settings.Host().QuietFatalReport;
    if (asDocument) {
        WriteErrorDocument(errorText);
        // The report is what the host gets; closing the connections may hang.
        DocumentComplete(1);
    } else {
        WriteOutLine("RFC error");
        PrintField("operation/code", 0, 15, report.Operation);
        PrintField("key", 0, 15, report.Key);
        PrintField("status", 0, 15, report.Status);
        PrintField("message", 0, 15, report.Message);
        PrintField("internal status", 0, 15, report.InternalStatus);
        WriteOut("\n");
    }
    if (Rfc.RfcClose) Rfc.RfcClose(0);
    if (!asDocument) WriteOutLine("* Programm aborted...");
    const bool markerCreated = CreateEmptyFile(endOfOutputMarkerPath);
    if (!markerCreated && !asDocument) WriteOutLine("* Error at EoXput-File...");
    // A monitoring plugin's status line, after the report's console lines.
    if (!asDocument && settings.Host().PluginCommandLine) WriteErrorDocument(errorText);
    EndProcess(1);
}
