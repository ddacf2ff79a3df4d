#include <doctest/doctest.h>

#include <string>

#include "ConfigTestFiles.h"
#include "config/ProfileLocation.h"
#include "config/RunSettings.h"
#include "config/SensorDirectory.h"

TEST_CASE("profile names: default extension, the word GLOBAL and the directory") {
    struct Case {
        std::string argument;
        std::string name;
        std::string directory;
        bool global;
    };
    const Case cases[] = {
        {"PRD", "PRD.P00", "", false},
        {"PRD.P01", "PRD.P01", "", false},
        {"PRD.TXT", "PRD.TXT", "", false},
        {"my.profile", "my.profile.P00", "", false},
        {"AB", "AB.P00", "", false},
        {"", ".P00", "", false},
        {"C:\\Sensors\\PRD", "PRD.P00", "C:\\Sensors\\", false},
        {"C:\\x.y\\PRD", "PRD.P00", "C:\\x.y\\", false},
        {"\\PRD", "\\PRD.P00", "", false},
        {"global", "SAP Overseer.Gbl", "", true},
        {"GLOBAL", "SAP Overseer.Gbl", "", true},
        {"Global.p00", "SAP Overseer.Gbl", "", true},
        {"C:\\x\\GLOBAL", "SAP Overseer.Gbl", "C:\\x\\", true},
        {"GLOBAL.TXT", "GLOBAL.TXT", "", false},
        {"GLOBAL1", "GLOBAL1.P00", "", false},
        {std::string(300, 'p'), std::string(300, 'p') + ".P00", "", false},
        {"/etc/spacewarden/PRD", "/etc/spacewarden/PRD.P00", "", false},  // a machine path is Nagios's only
        {"N:/etc/spacewarden/PRD", "PRD.P00", "/etc/spacewarden/", false},
        {"N:/etc/spacewarden/GLOBAL", "SAP Overseer.Gbl", "/etc/spacewarden/", true},
        {"N:/etc/sw\\x/PRD", "PRD.P00", "/etc/sw\\x/", false},
        {"N:sub/PRD", "sub/PRD.P00", "", false},
        {"N:C:\\Sensors\\PRD", "PRD.P00", "C:\\Sensors\\", false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.argument);
        RunSettingsRecord settings;
        // "N:" marks a monitoring plugin's run.
        const bool plugin = c.argument.rfind("N:", 0) == 0;
        if (plugin) settings.HostFlavour = HostFormat::Nagios;
        settings.ProfileName = plugin ? c.argument.substr(2) : c.argument;
        ResolveProfileName(settings);
        SplitProfileDirectory(settings);
        CHECK(settings.ProfileName == c.name);
        CHECK(settings.ProfileDirectory == c.directory);
        CHECK(settings.GlobalMode == c.global);
    }
}

TEST_CASE("the item profile name passes name resolution unchanged") {
    RunSettingsRecord settings;
    settings.ProfileName = ItemProfileName;
    settings.GlobalMode = true;
    ResolveProfileName(settings);
    SplitProfileDirectory(settings);
    CHECK(settings.ProfileName == "Overseer.Prf");
    CHECK(settings.ProfileDirectory == "");
    CHECK(settings.GlobalMode);
}

TEST_CASE("host flavour from the FLAVOUR= option") {
    struct Case {
        std::string options;
        std::string flavour;
        std::string error;
    };
    const Case cases[] = {
        {"", "EXEXML", ""},
        {"FLAVOUR=pinewood", "Pinewood", ""},
        {"#,flavour=JUNIPER,CH=1", "Juniper", ""},
        {"FLAVOUR=Kestrel #", "Kestrel", ""},
        {"xflavour=bramble", "Bramble", ""},
        {"FLAVOUR=exexml", "EXEXML", ""},
        {"FLAVOUR=Pinewoods", "EXEXML", "Error 1008: Host-Flavour Pinewoods is unknown..."},
        {"CH=1,FLAVOUR=", "EXEXML", "Error 1008: Host-Flavour  is unknown..."},
        {"FLAVOUR=Kestrel FLAVOUR=Juniper", "Kestrel", ""},
        {"FLAVOUR=nagios,WARN=5", "Nagios", ""},
        {"P:", "Nagios", ""},  // "P:": called as check_spacewarden
        {"P:FLAVOUR=EXEXML", "EXEXML", ""},
        {"FLAVOUR=checkmk", "Checkmk", ""},
        {"FLAVOUR=SCRIPTV2", "ScriptV2", ""},
        {"FLAVOUR=Prometheus,X", "Prometheus", ""},
        {"P:FLAVOUR=Icinga", "Nagios", "Error 1008: Host-Flavour Icinga is unknown..."},
    };
    for (const Case& c : cases) {
        CAPTURE(c.options);
        RunSettingsRecord settings;
        const bool plugin = c.options.rfind("P:", 0) == 0;
        if (plugin) settings.ProgramPath = "/usr/lib/nagios/plugins/check_spacewarden";
        const std::string options = plugin ? c.options.substr(2) : c.options;
        settings.ParameterTextAsGiven = options;
        settings.ParameterText = UpperAscii(options);
        CHECK(SelectHostFlavour(settings) == c.error);
        if (c.error.empty()) CHECK(HostFormatName(settings.HostFlavour) == c.flavour);
    }
}

TEST_CASE("a program called check_... is a monitoring plugin, spacewarden_local... a Checkmk local check") {
    const std::pair<const char*, const char*> cases[] = {
        {"check_spacewarden", "Nagios"},
        {"/usr/lib/nagios/plugins/check_spacewarden", "Nagios"},
        {"Z:\\build\\CHECK_SAP.EXE", "Nagios"},
        {"check_", "Nagios"},
        {"SpaceWarden", "EXEXML"},
        {"C:\\PRTG\\SpaceWarden.exe", "EXEXML"},
        {"/opt/check_dir/SpaceWarden", "EXEXML"},
        {"xcheck_sw", "EXEXML"},
        {"check", "EXEXML"},
        {"/usr/lib/check_mk_agent/local/300/spacewarden_local", "Checkmk"},
        {"SPACEWARDEN_LOCAL_PRD.exe", "Checkmk"},
        {"spacewarden", "EXEXML"},
        {"", "EXEXML"},
    };
    for (const auto& [program, flavour] : cases) {
        CAPTURE(program);
        CHECK(HostFormatName(DefaultHostFormat(program)) == flavour);
    }
}

TEST_CASE("opening the profile where the command line names it") {
    ScratchFile file("named.P00", "Client.....: 100\n");
    RunSettingsRecord settings;
    settings.ProfileName = file.Name();
    TextFile profile;
    CHECK(OpenProfileAtNamedPlace(settings, profile) == "");
    CHECK(profile.IsOpen());
    CHECK(settings.ProfilePath == file.Name());
    profile.Close();

    settings.ProfileDirectory = "C:\\sw_config_nowhere\\";
    settings.ProfileName = "PRD.P00";
    CHECK(OpenProfileAtNamedPlace(settings, profile) == "Error 1002: Profile C:\\sw_config_nowhere\\PRD.P00 is missing...");
    CHECK_FALSE(profile.IsOpen());
}

TEST_CASE("only a directory named ExeXml, in any case, is a custom-sensor directory") {
    struct Case {
        std::string directory;
        bool accepted;
    };
    const Case cases[] = {
        {"D:\\Apps\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\", true},
        {"E:\\PRTG\\Custom Sensors\\EXEXML\\", true},
        {"EXEXML\\", true},
        {"XEXML\\", false},
        {"", false},
        {"\\", false},
        {"D:\\Data\\", false},
        {"D:\\ExeXml\\Data\\", false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.directory);
        CHECK(IsSensorDirectory(c.directory) == c.accepted);
    }
}
