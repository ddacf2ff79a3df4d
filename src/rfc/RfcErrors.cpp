#include "rfc/RfcErrors.h"

#include <cstdlib>
#include <cstring>

#include "platform/Files.h"
#include "rfc/RfcLibrary.h"

namespace {

constexpr std::size_t TraceReadLimit = 100;  // pieces of at most 99 characters

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
    const RfcFatalReport report{operation, BoundedText(info.key, sizeof info.key),
                                BoundedText(info.status, sizeof info.status),
                                BoundedText(info.message, sizeof info.message),
                                BoundedText(info.intstat, sizeof info.intstat)};
    if (Rfc.FatalEnd) Rfc.FatalEnd(report);
    // An end that came back: the process ends all the same, as the library expects.
    std::_Exit(1);
}

std::string LibrarySetUpFault() {
    RFC_ERROR_INFO info;
    std::memset(&info, 0, sizeof info);
    if (!Rfc.RfcLastError || Rfc.RfcLastError(&info) != 0) return "";
    if (BoundedText(info.key, sizeof info.key) != RFC_KEY_LIBRARY_UNUSABLE) return "";
    return "Error 1016: " + BoundedText(info.message, sizeof info.message);
}

void InstallRfcEnvironment(RfcFatalEnd end) {
    Rfc.FatalEnd = end;
    Rfc.Environment.errorhandler = ReportRfcFailureHandler;
    Rfc.Environment.allocate = nullptr;
    Rfc.RfcEnvironment(&Rfc.Environment);
}

std::string TraceHint() {
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
    if (!opened || trace.ReadFailed()) return " - Look for Trace-File";
    return found.empty() ? " - Please Check Trace-File !" : " - " + found;
}
