#include "config/Credentials.h"

#include <cstdlib>

#include "config/RunSettings.h"

namespace {

struct SourceName {
    const char* Value;  // as CREDENTIALS= names it, upper-cased
    CredentialSource Source;
    const char* User;
    const char* Password;
};

// PRTG hands a device's credentials to an EXE/XML sensor as these variables
// when the sensor's "Set placeholders as environment values" is on.
constexpr SourceName SourceNames[] = {
    {"ENV", CredentialSource::Environment, UserVariable, PasswordVariable},
    {"PRTG-WINDOWS", CredentialSource::PrtgWindows, "prtg_windowsuser", "prtg_windowspassword"},
    {"PRTG-LINUX", CredentialSource::PrtgLinux, "prtg_linuxuser", "prtg_linuxpassword"},
};

std::string EnvironmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

}  // namespace

std::string SelectCredentialSource(const RunSettingsRecord& settings, CredentialSource& source) {
    source = CredentialSource::Profile;
    if (settings.Has("--CREDENTIALS-FROM-ENV")) source = CredentialSource::Environment;
    if (!settings.Has("CREDENTIALS=")) return "";
    const std::string value = settings.ValueAt("CREDENTIALS=", std::string::npos, " ,");
    for (const SourceName& name : SourceNames) {
        if (UpperAscii(value) == name.Value) {
            source = name.Source;
            return "";
        }
    }
    return "Error 1009: Invalid CREDENTIALS=" + value + " !";
}

EnvironmentCredentials CredentialsForSingleSystem(CredentialSource source) {
    EnvironmentCredentials credentials;
    for (const SourceName& name : SourceNames) {
        if (name.Source != source) continue;
        credentials.UserVariable = name.User;
        credentials.PasswordVariable = name.Password;
        credentials.User = EnvironmentValue(name.User);
        credentials.Password = EnvironmentValue(name.Password);
    }
    return credentials;
}

EnvironmentCredentials CredentialsForListedSystem(CredentialSource source, const std::string& profileName) {
    EnvironmentCredentials credentials;
    if (source == CredentialSource::Profile) return credentials;
    const std::string suffix = "_" + VariableSuffixOf(profileName);
    const std::string user = EnvironmentValue(UserVariable + suffix);
    const std::string password = EnvironmentValue(PasswordVariable + suffix);
    if (!user.empty()) {
        credentials.UserVariable = UserVariable + suffix;
        credentials.User = user;
    }
    if (!password.empty()) {
        credentials.PasswordVariable = PasswordVariable + suffix;
        credentials.Password = password;
    }
    return credentials;
}

std::string VariableSuffixOf(const std::string& profileName) {
    std::string name = profileName.substr(0, profileName.rfind('.'));
    name = UpperAscii(name);
    for (char& c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) c = '_';
    return name;
}
