#include "Errors.h"

#include <iterator>

#include "NwRfcInterface.h"
#include "Platform.h"

namespace nwrfc {

namespace {

const char kTraceFile[] = "Dev_Rfc.Trc";
const char kErrorColumn[] = "ERROR       ";   // "ERROR" and seven blanks

ErrorRecord g_last;

ErrorRecord Own(nw::RFC_RC code, const std::string& message)
{
    return ErrorRecord{code, nw::EXTERNAL_RUNTIME_FAILURE, CodeName(code), message, "", "", ""};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(' ') != std::string::npos) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace

ErrorRecord InvalidParameter(const std::string& message) { return Own(nw::RFC_INVALID_PARAMETER, message); }
ErrorRecord InvalidHandle(const std::string& message) { return Own(nw::RFC_INVALID_HANDLE, message); }
ErrorRecord NotSupported(const std::string& message) { return Own(nw::RFC_NOT_SUPPORTED, message); }
// The sensor tells a set-up fault from a failed logon by this key
// (RFC_KEY_LIBRARY_UNUSABLE of the classic interface, which this unit cannot include).
ErrorRecord LibraryFailure(const std::string& message)
{
    ErrorRecord error = Own(nw::RFC_EXTERNAL_FAILURE, message);
    error.key = "RFC_LIBRARY_UNUSABLE";
    return error;
}
ErrorRecord MemoryInsufficient(const std::string& message) { return Own(nw::RFC_MEMORY_INSUFFICIENT, message); }

void RecordFailure(const ErrorRecord& error)
{
    g_last = error;
    std::vector<std::string> lines = TraceLines(error.message);
    // CR LF line ends on Windows, as the classic library writes its trace there.
    if (!lines.empty()) AppendTextLines(kTraceFile, lines);
}

const ErrorRecord& LastFailure() { return g_last; }

ClassicErrorTexts ClassicTexts(const ErrorRecord& error)
{
    ClassicErrorTexts texts;
    if (error.code == 0 && error.key.empty() && error.message.empty()) return texts;   // no failure yet
    texts.key = error.key;
    texts.status = GroupName(error.group);
    for (std::string line : Lines(error.message)) {
        while (!line.empty() && line.back() == ' ') line.pop_back();
        texts.message += (texts.message.empty() ? "" : " ") + line;
    }
    texts.intstat = CodeName(error.code);
    if (texts.intstat.find(' ') == std::string::npos) texts.intstat += " (" + std::to_string(error.code) + ")";
    if (!error.abap_class.empty() || !error.abap_number.empty()) {
        texts.intstat += ", ABAP message " + error.abap_class + " " + error.abap_number;
        if (!error.abap_type.empty()) texts.intstat += " type " + error.abap_type;
    }
    return texts;
}

std::vector<std::string> TraceLines(const std::string& message)
{
    std::vector<std::string> lines = Lines(message);
    bool block = false;
    for (const std::string& line : lines) block = block || line.rfind(kErrorColumn, 0) == 0;
    if (!block) {
        for (std::string& line : lines) line = kErrorColumn + line;
    }
    return lines;
}

int ClassicCode(int code)
{
    switch (code) {
        case nw::RFC_OK: return 0;
        case nw::RFC_ABAP_EXCEPTION: return 2;
        case nw::RFC_ABAP_MESSAGE:
        case nw::RFC_ABAP_RUNTIME_FAILURE: return 3;
        default: return 1;
    }
}

bool ClosesConnection(int code)
{
    return code == nw::RFC_COMMUNICATION_FAILURE || code == nw::RFC_ABAP_RUNTIME_FAILURE ||
           code == nw::RFC_ABAP_MESSAGE || code == nw::RFC_CLOSED || code == nw::RFC_INVALID_HANDLE;
}

std::string CodeName(int code)
{
    if (code >= 0 && static_cast<std::size_t>(code) < std::size(nw::kRfcRcNames)) return nw::kRfcRcNames[code];
    return "RFC_RC " + std::to_string(code);
}

std::string GroupName(int group)
{
    if (group >= 0 && static_cast<std::size_t>(group) < std::size(nw::kRfcErrorGroupNames)) return nw::kRfcErrorGroupNames[group];
    return "RFC_ERROR_GROUP " + std::to_string(group);
}

}  // namespace nwrfc
