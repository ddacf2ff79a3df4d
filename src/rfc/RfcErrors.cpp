#include "rfc/RfcErrors.h"

#include <cstring>

#include "config/RunSettings.h"
#include "output/Console.h"
#include "output/PluginStatus.h"
#include "output/ReportOutput.h"
#include "output/ResultDocument.h"
#include "output/StandardOutput.h"
#include "platform/Files.h"
#include "rfc/RfcLibrary.h"

namespace {

// The end-of-output marker the fatal report creates; nothing in this sensor
// names one, so its creation fails and the report says so.
const std::string EndOfOutputMarkerPath;

constexpr std::size_t TraceReadLimit = 100;  // pieces of at most 99 characters

RFC_ENV Environment{};

std::string BoundedText(const char* text, std::size_t room) {
    std::size_t length = 0;
    while (length < room && text[length] != '\0') ++length;
    return std::string(text, length);
}

}  // namespace

extern "C" void RFC_LIBRARY_CALL ReportRfcFailureHandler(char* operation) { ReportRfcFailure(operation ? operation : ""); }

void ReportRfcFailure(const std::string& operation) {
    RFC_ERROR_INFO info;
    std::memset(&info, 0, sizeof info);
    if (Rfc.RfcLastError) Rfc.RfcLastError(&info);
    const std::string message = BoundedText(info.message, sizeof info.message);

    // The report's lines are console text, which PRTG's parser cannot read:
    // quietly, in an XML flavour, the host gets the report as an error
    // document, and a monitoring plugin's host as its status line, which a
    // verbose run writes after the report.
    const std::string errorText =
        "Error 1020: RFC error in " + operation + (message.empty() ? "" : " - " + message);
    const bool asDocument =
        !RunSettings.VerboseMode && (IsXmlFlavour() || IsPluginFlavour() || WritesWholeReport());
    if (asDocument) {
        WriteErrorDocument(errorText);
        WriteDocument();
        // The report is what the host gets; closing the connections may hang.
        DocumentComplete(1);
    } else {
        WriteOutLine("RFC error");
        PrintField("operation/code", 0, 15, operation);
        PrintField("key", 0, 15, BoundedText(info.key, sizeof info.key));
        PrintField("status", 0, 15, BoundedText(info.status, sizeof info.status));
        PrintField("message", 0, 15, message);
        PrintField("internal status", 0, 15, BoundedText(info.intstat, sizeof info.intstat));
        WriteOut("\n");
    }
    if (Rfc.RfcClose) Rfc.RfcClose(0);
    if (!asDocument) WriteOutLine("* Programm aborted...");
    const bool markerCreated = CreateEmptyFile(EndOfOutputMarkerPath);
    if (!markerCreated && !asDocument) WriteOutLine("* Error at EoXput-File...");
    if (!asDocument && IsPluginFlavour()) {
        WriteErrorDocument(errorText);
        WriteDocument();
    }
    EndProcess(1);
}

std::string LibrarySetUpFault() {
    RFC_ERROR_INFO info;
    std::memset(&info, 0, sizeof info);
    if (!Rfc.RfcLastError || Rfc.RfcLastError(&info) != 0) return "";
    if (BoundedText(info.key, sizeof info.key) != RFC_KEY_LIBRARY_UNUSABLE) return "";
    return "Error 1016: " + BoundedText(info.message, sizeof info.message);
}

void InstallRfcEnvironment() {
    Environment.errorhandler = ReportRfcFailureHandler;
    Environment.allocate = nullptr;
    Rfc.RfcEnvironment(&Environment);
}

void AppendRfcOutcome(int code, const std::string& exceptionText) {
    switch (code) {
        case RFC_FAILURE: AppendToDocument("Error 1014: RFC-Failure raised !"); break;
        case RFC_EXCEPTION: AppendToDocument("Error 1012: Exception.: " + exceptionText); break;
        case RFC_SYS_EXCEPTION: AppendToDocument("Error 1013: Sys-Exception raised !"); break;
        default: AppendToDocument("Error 1015: Other Failure raised !"); break;
    }
}

void AppendTraceHint() {
    std::string found;
    TextFile trace;
    FolderMayHaveChanged(RfcTraceFile);  // the library writes it
    const bool opened = trace.Open(RfcTraceFile);
    std::string line;
    while (opened && trace.ReadLine(line, TraceReadLimit)) {
        // Every test is made on every line; the last matching line wins.
        if (line.rfind("**** ERROR ", 0) == 0) found.clear();
        if (line.rfind("ERROR ", 0) == 0) found = line.size() > 12 ? line.substr(12) : "";
        if (line.size() >= 15 && line.compare(7, 8, "======> ") == 0) found = line.substr(15);
        if (!found.empty()) StripLineEnd(found);
    }
    trace.Close();
    // A trace file that cannot be read to its end counts as one that cannot be opened.
    if (!opened || trace.ReadFailed())
        AppendToDocument(" - Look for Trace-File");
    else
        AppendToDocument(found.empty() ? " - Please Check Trace-File !" : " - " + found);
}
