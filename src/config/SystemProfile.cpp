#include "config/SystemProfile.h"

#include "config/Credentials.h"
#include "config/Password.h"
#include "config/ProfileLocation.h"
#include "config/RunSettings.h"

namespace {

constexpr ProfileEntryRule EntryRules[ProfileEntryCount] = {
    {"Extcompany.:", 2, 60, &LogonEntriesRecord::Extcompany},
    {"Destination:", 3, 11, &LogonEntriesRecord::Destination},
    {"Client.....:", 3, 11, &LogonEntriesRecord::Client},
    {"User.......:", 2, 47, &LogonEntriesRecord::User},
    {"Password...:", 2, 31, &LogonEntriesRecord::Password},
    {"Language...:", 1, 31, &LogonEntriesRecord::Language},
    {"Mode.......:", 3, 31, &LogonEntriesRecord::Mode},
    {"Hostname...:", 2, 47, &LogonEntriesRecord::Hostname},
    {"Sysnr......:", 2, 31, &LogonEntriesRecord::Sysnr},
    {"Gwhost.....:", 2, 60, &LogonEntriesRecord::Gwhost},
    {"Gwservice..:", 2, 31, &LogonEntriesRecord::Gwservice},
};

}  // namespace

std::span<const ProfileEntryRule, ProfileEntryCount> ProfileEntryRules() { return EntryRules; }

namespace {

// Line buffers of the two readers, terminator included.
constexpr std::size_t SingleReaderBuffer = 160;
constexpr std::size_t ListingReaderBuffer = 200;

enum class ProfileFault {
    None,
    InvalidPassword,
    WrongPassword,
    UserMissing,
    PasswordMissing,
    InvalidParameter,
    Unreadable,
};

const ProfileEntryRule* RuleForLine(const std::string& line) {
    if (line.size() < ProfileKeyLength) return nullptr;
    for (const ProfileEntryRule& rule : EntryRules)
        if (line.compare(0, ProfileKeyLength, rule.Key) == 0) return &rule;
    return nullptr;
}

ProfileFault PasswordFaultOf(PasswordFault fault) {
    switch (fault) {
        case PasswordFault::None: return ProfileFault::None;
        case PasswordFault::InvalidForm: return ProfileFault::InvalidPassword;
        case PasswordFault::WrongPassword: return ProfileFault::WrongPassword;
    }
    return ProfileFault::WrongPassword;
}

struct EntriesFault {
    ProfileFault Fault = ProfileFault::None;
    const ProfileEntryRule* Rule = nullptr;  // the entry at fault
};

const ProfileEntryRule* RuleOf(std::string LogonEntriesRecord::*entry) {
    for (const ProfileEntryRule& rule : EntryRules)
        if (rule.Entry == entry) return &rule;
    return nullptr;
}

EntriesFault CheckEntries(const LogonEntriesRecord& entries) {
    if (entries.User.empty()) return {ProfileFault::UserMissing, RuleOf(&LogonEntriesRecord::User)};
    if (entries.Password.empty()) return {ProfileFault::PasswordMissing, RuleOf(&LogonEntriesRecord::Password)};
    for (const ProfileEntryRule& rule : EntryRules) {
        const std::string& value = entries.*rule.Entry;
        if (value.size() < rule.MinimumLength || value.size() > rule.Room) return {ProfileFault::InvalidParameter, &rule};
    }
    return {};
}

// The environment variable that stands in for the entry, or an empty text.
std::string VariableOf(const ProfileEntryRule* rule, const EnvironmentCredentials& credentials) {
    if (rule && rule->Entry == &LogonEntriesRecord::User) return credentials.UserVariable;
    if (rule && rule->Entry == &LogonEntriesRecord::Password) return credentials.PasswordVariable;
    return "";
}

// Reads the profile into the entries and closes it, then puts in what the
// environment stands in for. The single-system reader gives up at a password
// fault; the listing reader notes it and reads on, and keeps what an invalid
// but decodable value yields. A line that a variable stands in for is passed
// over, so a stale password in it can neither fail nor be used.
EntriesFault ReadProfileEntries(LogonEntriesRecord& entries, TextFile& profile, std::size_t bufferSize,
                                bool stopAtPasswordFault, const EnvironmentCredentials& credentials) {
    ProfileFault passwordFault = ProfileFault::None;
    std::string line;
    while (profile.ReadLine(line, bufferSize)) {
        StripLineEnd(line);
        const ProfileEntryRule* rule = RuleForLine(line);
        if (!rule || !VariableOf(rule, credentials).empty()) continue;
        std::string value = line.size() > ProfileValueColumn ? line.substr(ProfileValueColumn, ProfileValueLimit) : "";

        if (rule->Entry == &LogonEntriesRecord::Password) {
            std::string password = entries.Password;
            ProfileFault fault = PasswordFaultOf(DecodePassword(value, password));
            if (fault != ProfileFault::None && stopAtPasswordFault) {
                profile.Close();
                return {fault, rule};
            }
            entries.Password = password;
            entries.PasswordFromProfile = true;
            if (fault != ProfileFault::None && passwordFault == ProfileFault::None) passwordFault = fault;
            continue;
        }

        if (rule->Entry == &LogonEntriesRecord::User) value = UpperAscii(value);
        if (rule->Entry == &LogonEntriesRecord::Hostname) entries.DisplayedHostname = value;
        entries.*rule->Entry = value;
    }
    profile.Close();
    // What was read before a read error is no profile.
    if (profile.ReadFailed()) return {ProfileFault::Unreadable, nullptr};

    // The host's store hands over the password as it is, not scrambled.
    if (!credentials.UserVariable.empty()) entries.User = UpperAscii(credentials.User);
    if (!credentials.PasswordVariable.empty()) {
        entries.Password = credentials.Password;
        entries.PasswordFromProfile = false;
    }

    EntriesFault entriesFault = CheckEntries(entries);
    if (passwordFault != ProfileFault::None) return {passwordFault, RuleOf(&LogonEntriesRecord::Password)};
    return entriesFault;
}

}  // namespace

std::string ReadSystemProfile(LogonEntriesRecord& entries, TextFile& profile, const std::string& profileName) {
    return ReadSystemProfile(entries, profile, profileName, ProfileMissingText(profileName), EnvironmentCredentials{});
}

namespace {

std::string FaultText(const EntriesFault& fault, const std::string& profileName, const std::string& unreadableText,
                      const EnvironmentCredentials& credentials) {
    // An entry the environment stands in for is named by its variable, never by its value.
    const std::string variable = VariableOf(fault.Rule, credentials);
    const std::string where = variable.empty() ? "Profile " + profileName : "environment variable " + variable;
    const std::string at = variable.empty() ? profileName : "environment variable " + variable;
    switch (fault.Fault) {
        case ProfileFault::None: return "";
        case ProfileFault::InvalidPassword: return "Error 1004: Invalid Password in Profile " + profileName + " found...";
        case ProfileFault::WrongPassword: return "Error 1005: Wrong Password in Profile " + profileName + " found...";
        case ProfileFault::UserMissing: return "Error 1006: Username in " + where + " is missing...";
        case ProfileFault::PasswordMissing: return "Error 1007: Password in " + where + " is missing...";
        case ProfileFault::InvalidParameter: return "Error 1003: Invalid Parameter(s) at " + at + " found...";
        case ProfileFault::Unreadable: return unreadableText;
    }
    return "Error 1003: Invalid Parameter(s) at " + profileName + " found...";
}

}  // namespace

std::string ReadSystemProfile(LogonEntriesRecord& entries, TextFile& profile, const std::string& profileName,
                              const std::string& unreadableText, const EnvironmentCredentials& credentials) {
    const EntriesFault fault = ReadProfileEntries(entries, profile, SingleReaderBuffer, true, credentials);
    return FaultText(fault, profileName, unreadableText, credentials);
}

bool ReadListedProfile(LogonEntriesRecord& entries, TextFile& profile, const EnvironmentCredentials& credentials,
                       std::string* faultText, const std::string& profileName) {
    const EntriesFault fault = ReadProfileEntries(entries, profile, ListingReaderBuffer, false, credentials);
    if (faultText) *faultText = FaultText(fault, profileName, ProfileMissingText(profileName), credentials);
    return fault.Fault != ProfileFault::None;
}
