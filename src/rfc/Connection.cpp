#include "rfc/Connection.h"

#include <climits>
#include <string>

#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "platform/EventLog.h"
#include "platform/Files.h"
#include "rfc/RfcLibrary.h"

namespace {

char* TextOrNone(std::string& text) { return text.empty() ? nullptr : text.data(); }

void PadRight(std::string& text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
}

// The connection's own copies of the entries; the logon options point into them.
void TakeConnectionTexts(const LogonEntriesRecord& entries, const RunSettingsRecord& settings) {
    RfcLogonRecord& texts = Rfc.Logon;
    texts.Destination = entries.Destination;
    texts.Client = entries.Client;
    texts.User = entries.User;
    texts.Password = entries.Password;
    texts.Language = entries.Language;
    texts.Mode = entries.Mode;
    texts.Hostname = entries.Hostname;
    texts.Sysnr = entries.Sysnr;
    texts.Gwhost = entries.Gwhost;
    texts.Gwservice = entries.Gwservice;
    // ",HOST=" and ",NO=" override the profile's host and system number.
    if (settings.Has(",HOST=")) texts.Hostname = settings.ValueAt(",HOST=", std::string::npos, " ,");
    if (settings.Has(",NO=")) texts.Sysnr = settings.ValueAt(",NO=", std::string::npos, " ,");
    PadRight(texts.User, 12);
    PadRight(texts.Password, 10);
}

void FillLogonOptions() {
    RfcLogonRecord& logon = Rfc.Logon;
    RFC_OPTIONS& options = logon.Options;
    options.destination = logon.Destination.data();
    options.client = logon.Client.data();
    options.user = logon.User.data();
    options.password = logon.Password.data();
    options.language = logon.Language.data();
    options.trace = 0;
    if (logon.Mode == "R/2") {
        options.mode = 1;
        logon.CpicOptions.gateway_host = TextOrNone(logon.Gwhost);
        logon.CpicOptions.gateway_service = TextOrNone(logon.Gwservice);
        options.connopt = &logon.CpicOptions;
    } else {
        options.mode = 0;
        logon.ServerOptions.hostname = TextOrNone(logon.Hostname);
        // Without a system number the one of the previous opening stays.
        if (!logon.Sysnr.empty()) logon.ServerOptions.sysnr = SystemNumberOf(logon.Sysnr);
        logon.ServerOptions.gateway_host = TextOrNone(logon.Gwhost);
        logon.ServerOptions.gateway_service = TextOrNone(logon.Gwservice);
        options.connopt = &logon.ServerOptions;
    }
}

RFC_HANDLE OpenWithDestinationFile(const LogonEntriesRecord& entries) {
    // A copy that failed part-way is never used to log on.
    if (CopyFileBytes("SapRfc." + entries.Destination, DestinationIniFile) != CopyOutcome::Copied) return 0;
    RfcLogonRecord& logon = Rfc.Logon;
    logon.ConnectString = "CLIENT=" + entries.Client + " USER=" + entries.User + " PASSWD=" + entries.Password +
                          " LANG=D DEST=" + entries.Destination;
    logon.OpenErrorInfo = RFC_ERROR_INFO_EX{};
    RFC_HANDLE handle = Rfc.RfcOpenEx(logon.ConnectString.data(), &logon.OpenErrorInfo);
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

int SystemNumberAfterOpening(const LogonEntriesRecord& entries, const RunSettingsRecord& settings, int before) {
    if (entries.Mode == "R/2") return before;
    const std::string sysnr = settings.Has(",NO=") ? settings.ValueAt(",NO=", std::string::npos, " ,") : entries.Sysnr;
    return sysnr.empty() ? before : SystemNumberOf(sysnr);
}

void TakeCarriedSystemNumber(int number) { Rfc.Logon.ServerOptions.sysnr = number; }

int CarriedSystemNumber() { return Rfc.Logon.ServerOptions.sysnr; }

bool UsesDestinationFile(const LogonEntriesRecord& entries) {
    return FileCanBeOpened("SapRfc." + entries.Destination);
}

RFC_HANDLE OpenConnection(const LogonEntriesRecord& entries, const RunSettingsRecord& settings) {
    TakeConnectionTexts(entries, settings);
    FillLogonOptions();
    // Open before a logon that may never return, for the deadline's log line.
    OpenSensorLog();
    if (UsesDestinationFile(entries)) return OpenWithDestinationFile(entries);
    RFC_HANDLE handle = Rfc.RfcOpen(&Rfc.Logon.Options);
    LogEvent(static_cast<long>(handle), "RfcOpen called", "");
    return handle;
}
