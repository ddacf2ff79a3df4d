// Where a run's SAP user and password come from: the system profile, or the
// environment that the monitoring host fills from its own credential store, so
// that they stand neither in a file beside the sensor nor on a command line.
#pragma once

#include <string>

enum class CredentialSource {
    Profile,      // the profile's User and Password lines
    Environment,  // SPACEWARDEN_USER and SPACEWARDEN_PASSWORD
    PrtgWindows,  // PRTG's placeholders of the device's Windows credentials
    PrtgLinux,    // PRTG's placeholders of the device's Linux credentials
};

constexpr const char* UserVariable = "SPACEWARDEN_USER";
constexpr const char* PasswordVariable = "SPACEWARDEN_PASSWORD";

// Reads "CREDENTIALS=" (ENV, PRTG-WINDOWS, PRTG-LINUX, in any letter case) and
// the plugin's "--credentials-from-env" (the same as ENV) from the options.
// Without either the profile's lines count. Returns an empty text, or
// "Error 1009: Invalid CREDENTIALS=" + the value as given + " !".
struct RunSettingsRecord;
std::string SelectCredentialSource(const RunSettingsRecord& settings, CredentialSource& source);

// The user and password that stand in for a profile's lines. A variable that
// is named replaces its line: the line is then not read at all, and a missing
// or empty variable is the fault a missing line would be, naming the variable.
// A name left empty leaves the profile's line in force.
struct EnvironmentCredentials {
    std::string UserVariable;
    std::string PasswordVariable;
    std::string User;      // the variables' values; empty when unset
    std::string Password;
};

// The single-system run: both variables of the source (none for Profile).
EnvironmentCredentials CredentialsForSingleSystem(CredentialSource source);

// A listed system of a multi-system run never takes the run's variables, which
// belong to one system: with any CREDENTIALS= it takes only variables named
// after its own profile, SPACEWARDEN_USER_<NAME> and SPACEWARDEN_PASSWORD_<NAME>
// (NAME: the profile's name without its extension, upper-cased, every character
// other than A-Z and 0-9 a "_"), each only when it is set and not empty.
EnvironmentCredentials CredentialsForListedSystem(CredentialSource source, const std::string& profileName);

// "PRD.P00" -> "PRD", "qas-2.P00" -> "QAS_2".
std::string VariableSuffixOf(const std::string& profileName);
