#include "rfc/Connection.h"

#include <climits>
#include <string>

#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "output/Console.h"
#include "output/StandardOutput.h"
#include "platform/Files.h"
#include "rfc/RfcLibrary.h"

namespace {

// The connection's own copies of the entries; the logon options point into
// them, so they live as long as the process. They hold the entries whole.
struct ConnectionTextsRecord {
    std::string Destination, Client, User, Password, Language, Mode, Hostname, Sysnr, Gwhost, Gwservice;
};
ConnectionTextsRecord ConnectionTexts;
std::string ConnectString;

RFC_OPTIONS LogonOptions{};
RFC_CONNOPT_R3 ServerConnectOptions{};
RFC_CONNOPT_CPIC CpicConnectOptions{};
RFC_ERROR_INFO_EX OpenErrorInfo{};

char* TextOrNone(std::string& text) { return text.empty() ? nullptr : text.data(); }

void PadRight(std::string& text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
}

void TakeConnectionTexts() {
    const LogonEntriesRecord& entries = LogonEntries;
    ConnectionTexts = {entries.Destination, entries.Client,   entries.User,   entries.Password, entries.Language,
                       entries.Mode,        entries.Hostname, entries.Sysnr,  entries.Gwhost,   entries.Gwservice};
    // ",HOST=" and ",NO=" override the profile's host and system number.
    if (ParameterHas(",HOST=")) ConnectionTexts.Hostname = OptionValueAt(",HOST=", std::string::npos, " ,");
    if (ParameterHas(",NO=")) ConnectionTexts.Sysnr = OptionValueAt(",NO=", std::string::npos, " ,");
    PadRight(ConnectionTexts.User, 12);
    PadRight(ConnectionTexts.Password, 10);
}

void FillLogonOptions() {
    LogonOptions.destination = ConnectionTexts.Destination.data();
    LogonOptions.client = ConnectionTexts.Client.data();
    LogonOptions.user = ConnectionTexts.User.data();
    LogonOptions.password = ConnectionTexts.Password.data();
    LogonOptions.language = ConnectionTexts.Language.data();
    LogonOptions.trace = 0;
    if (ConnectionTexts.Mode == "R/2") {
        LogonOptions.mode = 1;
        CpicConnectOptions.gateway_host = TextOrNone(ConnectionTexts.Gwhost);
        CpicConnectOptions.gateway_service = TextOrNone(ConnectionTexts.Gwservice);
        LogonOptions.connopt = &CpicConnectOptions;
    } else {
        LogonOptions.mode = 0;
        ServerConnectOptions.hostname = TextOrNone(ConnectionTexts.Hostname);
        // Without a system number the one of the previous opening stays.
        if (!ConnectionTexts.Sysnr.empty()) ServerConnectOptions.sysnr = SystemNumberOf(ConnectionTexts.Sysnr);
        ServerConnectOptions.gateway_host = TextOrNone(ConnectionTexts.Gwhost);
        ServerConnectOptions.gateway_service = TextOrNone(ConnectionTexts.Gwservice);
        LogonOptions.connopt = &ServerConnectOptions;
    }
}

RFC_HANDLE OpenWithDestinationFile() {
    const LogonEntriesRecord& entries = LogonEntries;
    // A console line: before the document it would make the host's parser refuse it.
    if (RunSettings.VerboseMode) WriteOutLine("* SapRfc.Ini.......: " + entries.Destination + "<");
    // A copy that failed part-way is never used to log on.
    if (CopyFileBytes("SapRfc." + entries.Destination, DestinationIniFile) != CopyOutcome::Copied) return 0;
    ConnectString = "CLIENT=" + entries.Client + " USER=" + entries.User + " PASSWD=" + entries.Password +
                    " LANG=D DEST=" + entries.Destination;
    OpenErrorInfo = RFC_ERROR_INFO_EX{};
    RFC_HANDLE handle = Rfc.RfcOpenEx(ConnectString.data(), &OpenErrorInfo);
    LogEvent(static_cast<long>(handle), "RfcOpenEx called", "");
    return handle;
}

}  // namespace

int SystemNumberOf(const std::string& sysnr) {
    std::size_t position = 0;
    while (position < sysnr.size() && sysnr[position] == ' ') ++position;
    long long number = 0;
    for (; position < sysnr.size() && sysnr[position] >= '0' && sysnr[position] <= '9'; ++position) {
        number = number * 10 + (sysnr[position] - '0');
        if (number > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(number);
}

int SystemNumberAfterOpening(const LogonEntriesRecord& entries, int before) {
    if (entries.Mode == "R/2") return before;
    const std::string sysnr = ParameterHas(",NO=") ? OptionValueAt(",NO=", std::string::npos, " ,") : entries.Sysnr;
    return sysnr.empty() ? before : SystemNumberOf(sysnr);
}

void TakeCarriedSystemNumber(int number) { ServerConnectOptions.sysnr = number; }

int CarriedSystemNumber() { return ServerConnectOptions.sysnr; }

RFC_HANDLE OpenConnection() {
    TakeConnectionTexts();
    FillLogonOptions();
    // Open before a logon that may never return, for the deadline's log line.
    OpenEventLog();
    if (FileCanBeOpened("SapRfc." + LogonEntries.Destination)) return OpenWithDestinationFile();
    RFC_HANDLE handle = Rfc.RfcOpen(&LogonOptions);
    LogEvent(static_cast<long>(handle), "RfcOpen called", "");
    return handle;
}
