#include <doctest/doctest.h>

#include <string>

#include "ConfigTestFiles.h"
#include "config/GlobalListing.h"
#include "config/ProfileLocation.h"
#include "config/RunSettings.h"

namespace {

const std::string Tag = "Sensor=\"SAP SpaceWarden\"";

struct Case {
    const char* what;
    bool itemMode;
    std::string options;  // arguments 2 and 3 as typed; argument 2 is its first word
    std::string contents;
    std::string error;
    std::string listing;
    std::string item;
    char label;
    std::string parameters;
};

void Run(const Case& c, bool fileExists = true) {
    CAPTURE(c.what);
    ScratchFile file(c.itemMode ? "Overseer.Prf" : "Overseer.Gbl", c.contents);
    RunSettingsRecord settings;
    settings.ProfileName = c.itemMode ? ItemProfileName : GlobalListingName;
    settings.ProfileDirectory = ".\\";
    settings.ProfilePath = fileExists ? file.Name() : "sw_config_absent";
    settings.ParameterTextAsGiven = c.options;
    settings.ParameterText = UpperAscii(c.options);
    settings.Argument2 = c.options.substr(0, c.options.find(' '));
    if (c.itemMode) settings.ItemIdentification = c.item;

    TextFile located;
    REQUIRE(located.Open(file.Name()));
    CHECK(ReadGlobalListing(settings, located) == c.error);
    CHECK_FALSE(located.IsOpen());
    if (!c.error.empty()) return;
    CHECK(settings.ServerListing == c.listing);
    CHECK(settings.ItemIdentification == c.item);
    CHECK(settings.LabelKind == c.label);
    if (!c.itemMode) CHECK(settings.ParameterTextAsGiven == c.parameters);
    CHECK(settings.ProfilePath == ".\\");
}

}  // namespace

TEST_CASE("global listing and item profile") {
    const std::string entry = "# GSNX: Ora1      :CH=2," + Tag + ",Item=Critical_Spaces";
    const std::string listing = "# GSNG: ORA1      : PRD.P00#\n# gsng: ora1      : QAS.P00#\n";
    const std::string hundred(100, 'i');
    std::string fortySystems;
    for (int n = 1; n <= 40; ++n) fortySystems += "T" + std::to_string(n) + ".P00#";
    const Case cases[] = {
        {"sensor entry with alias", false, "ora1", listing + entry + ",Alias\n", "", "PRD.P00#QAS.P00#",
         "Critical_Spaces", '2', "CH=2"},
        {"CR LF lines", false, "ora1 #", "# GSNG: ORA1      : PRD.P00#\r\n" + entry + "\r\n", "", "PRD.P00#",
         "Critical_Spaces", '1', "CH=2"},
        {"tag in other case", false, "ora1", listing + "# GSNX: ORA1      :CH=2,sensor=\"SAP SpaceWarden\",Item=x\n",
         "Error 1029: Invalid Sensor-Allocation...", "", "", '1', ""},
        {"entry line of 19 characters", false, "ora1", listing + "# GSNX: ORA1      :\n",
         "Error 1029: Invalid Sensor-Allocation...", "", "", '1', ""},
        {"only ten key characters count", false, "PRODUCTION1",
         "# GSNG: PRODUCTION2:PRD.P00#\n# GSNX: PRODUCTION2CH=1," + Tag + ",Item=Critical_Tables\n", "", "PRD.P00#",
         "Critical_Tables", '1', "CH=1"},
        {"no argument 2", false, "", listing + entry + "\n", "Error 1030: Global Sensor  not found...", "", "", '1', ""},
        {"argument 2 named as typed", false, "nosuch CH=1", listing + entry + "\n",
         "Error 1030: Global Sensor nosuch not found...", "", "", '1', ""},
        {"entry without item", false, "ora1", listing + "# GSNX: ORA1      :" + Tag + "\n",
         "Error 1026: Global Item Idenification missing...", "", "", '1', ""},
        {"other keys and programs add nothing", false, "ora1",
         "# GSNG: ORA2      : BAD.P00#\n# XSNG: ORA1      : BAD.P00#\n# GSNG: ORA1      : \n" + entry + "\n",
         "Error 1025: Global Server Listing missing...", "", "", '1', ""},
        {"colons in the entry", false, "ora1", listing + "# GSNX: ORA1      :HOST=a:b," + Tag + ",Item=Crit:Tables,Sid\n",
         "", "PRD.P00#QAS.P00#", "Crit Tables", '4', "HOST=a b"},
        {"label marks in order, kept across entries", false, "ora1",
         listing + entry + ",Sid,Profile\n" + entry + "\n", "", "PRD.P00#QAS.P00#", "Critical_Spaces", '4', "CH=2"},
        {"the last entry gives the parameters", false, "ora1",
         listing + entry + ",Host\n# GSNX: ORA1      :CH=3 #," + Tag + ",Item=Critical_Objects\n", "",
         "PRD.P00#QAS.P00#", "Critical_Objects", '3', "CH=3 #"},
        {"item cut to 90", false, "ora1", listing + "# GSNX: ORA1      :," + Tag + ",Item=" + hundred + "\n", "",
         "PRD.P00#QAS.P00#", hundred.substr(0, 90), '1', ""},
        {"listing line read whole", false, "ora1",
         "# GSNG: ORA1      : " + std::string(250, 'L') + "\n" + entry + "\n", "", std::string(250, 'L'),
         "Critical_Spaces", '1', "CH=2"},
        {"forty systems on one line, none joined to the next line's", false, "ora1",
         "# GSNG: ORA1      : " + fortySystems + "\n# GSNG: ORA1      : T30.P00#\n" + entry + "\n", "",
         fortySystems + "T30.P00#", "Critical_Spaces", '1', "CH=2"},
        {"sensor entry read whole", false, "ora1",
         listing + "# GSNX: ORA1      :HOST=" + std::string(300, 'h') + "," + Tag + ",Item=Critical_Tables,Host\n", "",
         "PRD.P00#QAS.P00#", "Critical_Tables", '3', "HOST=" + std::string(300, 'h')},
        {"item profile line read whole", true, "ITEM=Critical_Tables", "# Gsng: anything  : " + fortySystems + "\n",
         "", fortySystems, "Critical_Tables", '1', ""},
        {"item profile", true, "ITEM=Critical_Tables",
         "# GSNG: xyz       : PRD.P00#\n# Gsng: anything  : QAS.P00#\n# Gsng:x whatever : BAD.P00#\n", "",
         "QAS.P00#", "Critical_Tables", '1', ""},
        {"item profile without item", true, "ITEM=,CH=1", "# Gsng: anything  : QAS.P00#\n",
         "Error 1026: Global Item Idenification missing...", "", "", '1', ""},
        {"item profile without listing", true, "ITEM=x", "# Gsng: anything  :\n",
         "Error 1025: Global Server Listing missing...", "", "x", '1', ""},
    };
    for (const Case& c : cases) Run(c);
}

TEST_CASE("missing listing files") {
    Run({"item profile", true, "ITEM=x", "", "Error 1024: ProFile Overseer.Prf is missing...", "", "x", '1', ""},
        false);
    Run({"global listing", false, "ora1", "", "Error 10x1: ProFile SAP Overseer.Gbl is missing...", "", "", '1', ""},
        false);
}
