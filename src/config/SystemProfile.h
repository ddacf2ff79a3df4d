// System profiles: the logon entries of one SAP system, password scrambled.
#pragma once

#include <string>

#include "platform/Files.h"

struct LogonEntriesRecord {
    std::string Extcompany;
    std::string Destination;
    std::string Client;
    std::string User;
    std::string Password;  // decoded
    std::string Language;
    std::string Mode;
    std::string Hostname;
    std::string Sysnr;
    std::string Gwhost;
    std::string Gwservice;
    // The host name the console lines show: set with Hostname, overwritten by
    // the host name the SAP system reports.
    std::string DisplayedHostname;
};

// Process-wide, empty at start, not emptied between the systems of a listing.
extern LogonEntriesRecord LogonEntries;

void ResetLogonEntries();

// The single-system reader: reads the open profile to its end and closes it,
// then runs the final checks. Returns an empty text when the profile is sound,
// otherwise the message of the first fault ("Error 1003" to "Error 1007").
std::string ReadSystemProfile(TextFile& profile, const std::string& profileName);

// The listing reader: reads the open profile to its end, closes it and runs the
// final checks. Writes no message; returns true when the profile is faulty.
bool ReadListedProfile(TextFile& profile);
