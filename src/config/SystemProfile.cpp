#include "config/SystemProfile.h"

#include "config/Password.h"
#include "config/ProfileLocation.h"
#include "config/RunSettings.h"

LogonEntriesRecord LogonEntries;

const ProfileEntryRule ProfileEntryRules[ProfileEntryCount] = {
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
    for (const ProfileEntryRule& rule : ProfileEntryRules)
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

ProfileFault CheckEntries() {
    if (LogonEntries.User.empty()) return ProfileFault::UserMissing;
    if (LogonEntries.Password.empty()) return ProfileFault::PasswordMissing;
    for (const ProfileEntryRule& rule : ProfileEntryRules) {
        const std::string& value = LogonEntries.*rule.Entry;
        if (value.size() < rule.MinimumLength || value.size() > rule.Room) return ProfileFault::InvalidParameter;
    }
    return ProfileFault::None;
}

// Reads the profile into the entries and closes it. The single-system reader
// gives up at a password fault; the listing reader notes it and reads on, and
// keeps what an invalid but decodable value yields.
ProfileFault ReadProfileEntries(TextFile& profile, std::size_t bufferSize, bool stopAtPasswordFault) {
    ProfileFault passwordFault = ProfileFault::None;
    std::string line;
    while (profile.ReadLine(line, bufferSize)) {
        StripLineEnd(line);
        const ProfileEntryRule* rule = RuleForLine(line);
        if (!rule) continue;
        std::string value = line.size() > ProfileValueColumn ? line.substr(ProfileValueColumn, ProfileValueLimit) : "";

        if (rule->Entry == &LogonEntriesRecord::Password) {
            std::string password = LogonEntries.Password;
            ProfileFault fault = PasswordFaultOf(DecodePassword(value, password));
            if (fault != ProfileFault::None && stopAtPasswordFault) {
                profile.Close();
                return fault;
            }
            LogonEntries.Password = password;
            if (fault != ProfileFault::None && passwordFault == ProfileFault::None) passwordFault = fault;
            continue;
        }

        if (rule->Entry == &LogonEntriesRecord::User) value = UpperAscii(value);
        if (rule->Entry == &LogonEntriesRecord::Hostname) LogonEntries.DisplayedHostname = value;
        LogonEntries.*rule->Entry = value;
    }
    profile.Close();
    // What was read before a read error is no profile.
    if (profile.ReadFailed()) return ProfileFault::Unreadable;

    ProfileFault entriesFault = CheckEntries();
    return passwordFault != ProfileFault::None ? passwordFault : entriesFault;
}

}  // namespace

void ResetLogonEntries() { LogonEntries = LogonEntriesRecord{}; }

std::string ReadSystemProfile(TextFile& profile, const std::string& profileName) {
    return ReadSystemProfile(profile, profileName, ProfileMissingText(profileName));
}

std::string ReadSystemProfile(TextFile& profile, const std::string& profileName, const std::string& unreadableText) {
    switch (ReadProfileEntries(profile, SingleReaderBuffer, true)) {
        case ProfileFault::None: return "";
        case ProfileFault::InvalidPassword: return "Error 1004: Invalid Password in Profile " + profileName + " found...";
        case ProfileFault::WrongPassword: return "Error 1005: Wrong Password in Profile " + profileName + " found...";
        case ProfileFault::UserMissing: return "Error 1006: Username in Profile " + profileName + " is missing...";
        case ProfileFault::PasswordMissing: return "Error 1007: Password in Profile " + profileName + " is missing...";
        case ProfileFault::InvalidParameter: return "Error 1003: Invalid Parameter(s) at " + profileName + " found...";
        case ProfileFault::Unreadable: return unreadableText;
    }
    return "Error 1003: Invalid Parameter(s) at " + profileName + " found...";
}

bool ReadListedProfile(TextFile& profile) {
    return ReadProfileEntries(profile, ListingReaderBuffer, false) != ProfileFault::None;
}
