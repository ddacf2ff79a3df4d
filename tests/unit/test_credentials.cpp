// Where the SAP user and password come from: the option, the variables of each
// source, and the profile reader with the environment standing in for lines.
#include <doctest/doctest.h>

#include <cstdlib>
#include <string>

#include "ConfigTestFiles.h"
#include "config/Credentials.h"
#include "config/Password.h"
#include "config/RunSettings.h"
#include "config/SystemProfile.h"

namespace {

RunSettingsRecord WithOptions(const std::string& options) {
    RunSettingsRecord settings;
    settings.ParameterTextAsGiven = options;
    settings.ParameterText = UpperAscii(options);
    return settings;
}

void SetVariable(const std::string& name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value.c_str());
#else
    setenv(name.c_str(), value.c_str(), 1);
#endif
}

void ClearVariable(const std::string& name) {
#ifdef _WIN32
    _putenv_s(name.c_str(), "");
#else
    unsetenv(name.c_str());
#endif
}

std::string ProfileWithout(bool user, bool password) {
    std::string text =
        "Extcompany.: Acme\nDestination: PRD\nClient.....: 100\nLanguage...: EN\nMode.......: R/3\n"
        "Hostname...: sapprd\nSysnr......: 00\nGwhost.....: sapprd\nGwservice..: sapgw00\n";
    if (!user) text += "User.......: profileuser\n";
    if (!password) text += "Password...: " + EncodePassword("FromFile1", 3) + "\n";
    return text;
}

std::string ReadWith(const std::string& contents, const EnvironmentCredentials& credentials,
                     LogonEntriesRecord& entries) {
    ScratchFile file("credentials.P00", contents);
    TextFile profile;
    REQUIRE(profile.Open(file.Name()));
    return ReadSystemProfile(entries, profile, "PRD.P00", "Error 1002: unreadable", credentials);
}

}  // namespace

TEST_CASE("the option names the source of the credentials") {
    struct Case {
        const char* Options;
        CredentialSource Source;
        const char* Error;
    };
    const Case cases[] = {
        {"", CredentialSource::Profile, ""},
        {"CH=2", CredentialSource::Profile, ""},
        {"CREDENTIALS=ENV", CredentialSource::Environment, ""},
        {"FLAVOUR=Bramble,credentials=env", CredentialSource::Environment, ""},
        {"--credentials-from-env", CredentialSource::Environment, ""},
        {"CREDENTIALS=PRTG-WINDOWS", CredentialSource::PrtgWindows, ""},
        {"Credentials=prtg-linux,CH=3", CredentialSource::PrtgLinux, ""},
        {"CREDENTIALS=", CredentialSource::Profile, "Error 1009: Invalid CREDENTIALS= !"},
        {"CREDENTIALS=Vault", CredentialSource::Profile, "Error 1009: Invalid CREDENTIALS=Vault !"},
        {"CREDENTIALS=PRTG", CredentialSource::Profile, "Error 1009: Invalid CREDENTIALS=PRTG !"},
        {"CREDENTIALS=ENVIRONMENT", CredentialSource::Profile, "Error 1009: Invalid CREDENTIALS=ENVIRONMENT !"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.Options);
        CredentialSource source = CredentialSource::PrtgLinux;
        CHECK(SelectCredentialSource(WithOptions(c.Options), source) == c.Error);
        CHECK(source == c.Source);
    }
}

TEST_CASE("each source names its two variables; the profile none") {
    struct Case {
        CredentialSource Source;
        const char* User;
        const char* Password;
    };
    const Case cases[] = {
        {CredentialSource::Profile, "", ""},
        {CredentialSource::Environment, "SPACEWARDEN_USER", "SPACEWARDEN_PASSWORD"},
        {CredentialSource::PrtgWindows, "prtg_windowsuser", "prtg_windowspassword"},
        {CredentialSource::PrtgLinux, "prtg_linuxuser", "prtg_linuxpassword"},
    };
    for (const Case& c : cases) {
        const EnvironmentCredentials credentials = CredentialsForSingleSystem(c.Source);
        CHECK(credentials.UserVariable == c.User);
        CHECK(credentials.PasswordVariable == c.Password);
    }
}

TEST_CASE("a listed system's variables are named after its profile") {
    const std::pair<const char*, const char*> names[] = {
        {"PRD.P00", "PRD"}, {"qas-2.P00", "QAS_2"}, {"DEV", "DEV"}, {"a.b.P00", "A_B"}, {"\xE4x.P00", "_X"},
    };
    for (const auto& [profile, suffix] : names) CHECK(VariableSuffixOf(profile) == suffix);

    SetVariable("SPACEWARDEN_USER", "runuser");
    SetVariable("SPACEWARDEN_PASSWORD", "RunPassword1");
    SetVariable("SPACEWARDEN_PASSWORD_QAS", "QasPassword1");
    ClearVariable("SPACEWARDEN_USER_QAS");
    // The run's own variables never reach a listed system; its own do, each alone.
    EnvironmentCredentials qas = CredentialsForListedSystem(CredentialSource::Environment, "QAS.P00");
    CHECK(qas.UserVariable.empty());
    CHECK(qas.PasswordVariable == "SPACEWARDEN_PASSWORD_QAS");
    CHECK(qas.Password == "QasPassword1");
    EnvironmentCredentials prd = CredentialsForListedSystem(CredentialSource::PrtgWindows, "PRD.P00");
    CHECK(prd.UserVariable.empty());
    CHECK(prd.PasswordVariable.empty());
    // Without the option the environment is not read at all.
    CHECK(CredentialsForListedSystem(CredentialSource::Profile, "QAS.P00").PasswordVariable.empty());
    for (const char* name : {"SPACEWARDEN_USER", "SPACEWARDEN_PASSWORD", "SPACEWARDEN_PASSWORD_QAS"}) ClearVariable(name);
}

TEST_CASE("the environment stands in for the profile's lines, its faults naming the variable") {
    const EnvironmentCredentials named{"SPACEWARDEN_USER", "SPACEWARDEN_PASSWORD", "sapmon", "St0re#Pw!42"};
    struct Case {
        const char* What;
        std::string Profile;
        EnvironmentCredentials Credentials;
        std::string Message;
        std::string User;
        std::string Password;
    };
    const Case cases[] = {
        {"no lines, both variables", ProfileWithout(true, true), named, "", "SAPMON", "St0re#Pw!42"},
        {"variables win over lines", ProfileWithout(false, false), named, "", "SAPMON", "St0re#Pw!42"},
        {"a broken Password line is not read", ProfileWithout(false, true) + "Password...: garbage\n", named, "",
         "SAPMON", "St0re#Pw!42"},
        {"no variables: the profile's lines", ProfileWithout(false, false), {}, "", "PROFILEUSER", "FromFile1"},
        {"user variable empty", ProfileWithout(false, false), {"SPACEWARDEN_USER", "SPACEWARDEN_PASSWORD", "", "pw12"},
         "Error 1006: Username in environment variable SPACEWARDEN_USER is missing...", "", ""},
        {"password variable empty", ProfileWithout(true, true), {"prtg_linuxuser", "prtg_linuxpassword", "u1", ""},
         "Error 1007: Password in environment variable prtg_linuxpassword is missing...", "", ""},
        {"password of one character", ProfileWithout(true, true), {"SPACEWARDEN_USER", "SPACEWARDEN_PASSWORD", "u1", "p"},
         "Error 1003: Invalid Parameter(s) at environment variable SPACEWARDEN_PASSWORD found...", "", ""},
        {"password longer than its room", ProfileWithout(true, true),
         {"SPACEWARDEN_USER", "SPACEWARDEN_PASSWORD", "u1", std::string(32, 'p')},
         "Error 1003: Invalid Parameter(s) at environment variable SPACEWARDEN_PASSWORD found...", "", ""},
        {"only the password from the environment", ProfileWithout(true, true), {"", "SPACEWARDEN_PASSWORD_QAS", "", "pw12"},
         "Error 1006: Username in Profile PRD.P00 is missing...", "", ""},
        {"another entry's fault names the profile", "Destination: PRD\n", named,
         "Error 1003: Invalid Parameter(s) at PRD.P00 found...", "", ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.What);
        LogonEntriesRecord entries;
        CHECK(ReadWith(c.Profile, c.Credentials, entries) == c.Message);
        if (!c.Message.empty()) continue;
        CHECK(entries.User == c.User);
        CHECK(entries.Password == c.Password);
    }
}
