// System profiles: the logon entries of one SAP system, password scrambled.
#pragma once

#include <span>
#include <string>

#include "config/Credentials.h"
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
    // Whether the password came from a profile's Password line (not from the
    // environment): such a profile should be readable by its owner only.
    bool PasswordFromProfile = false;
};

// A line is a 12-character key, one separator column and the value, of which
// at most 60 characters are read.
constexpr std::size_t ProfileKeyLength = 12;
constexpr std::size_t ProfileValueColumn = 13;
constexpr std::size_t ProfileValueLimit = 60;

// What a profile line may set: the key, the shortest value the sensor accepts
// and the longest its entry holds (the password's lengths count decoded).
struct ProfileEntryRule {
    const char* Key;
    std::size_t MinimumLength;
    std::size_t Room;
    std::string LogonEntriesRecord::*Entry;
};

// In the order of the final checks: Extcompany, Destination, Client, User,
// Password, Language, Mode, Hostname, Sysnr, Gwhost, Gwservice.
constexpr std::size_t ProfileEntryCount = 11;
std::span<const ProfileEntryRule, ProfileEntryCount> ProfileEntryRules();

// The readers fill `entries`, which keep what a profile does not say (in a
// listing, from the systems before it).
// The single-system reader: reads the open profile to its end and closes it,
// then runs the final checks. Returns an empty text when the profile is sound,
// otherwise the message of the first fault ("Error 1003" to "Error 1007").
// A password fault stops the reading at its line; the profile is closed on
// every path. A value longer than its entry's room is fault 1003, like a short one.
// A profile that cannot be read to its end (a read error) counts as one that
// could not be opened: the fault is then `unreadableText`, the text start-up
// gives for a profile it cannot open; without it, "Error 1002" naming profileName.
// What `credentials` names comes from the environment instead of the profile's
// lines; its faults ("Error 1006", "1007", "1003") name the variable, never a value.
std::string ReadSystemProfile(LogonEntriesRecord& entries, TextFile& profile, const std::string& profileName);
std::string ReadSystemProfile(LogonEntriesRecord& entries, TextFile& profile, const std::string& profileName,
                              const std::string& unreadableText, const EnvironmentCredentials& credentials = {});

// The listing reader: reads the open profile to its end, closes it and runs the
// final checks. Writes no message; returns true when the profile is faulty.
// The entries keep what the profile says even when it is faulty, a value
// longer than its entry's room included. A profile that cannot be read to its
// end is faulty too, and profile.ReadFailed() tells it apart: it counts as one
// that could not be opened, and the caller puts back the entries it had. What
// `credentials` names comes from the environment instead of the profile's lines.
// `faultText`, when given, gets the fault as the single-system reader words it,
// naming the profile by `profileName`.
bool ReadListedProfile(LogonEntriesRecord& entries, TextFile& profile, const EnvironmentCredentials& credentials = {},
                       std::string* faultText = nullptr, const std::string& profileName = "");
