// The monitoring plugin's command line: every standard option, the keyword
// form, and every refusal, read into the keyword text of the run.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "config/PluginCommandLine.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c == '^' ? ' ' : c;  // "^" stands for a blank inside an argument
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

}  // namespace

TEST_CASE("standard options and the keyword form give the same keyword text") {
    struct Case {
        const char* Arguments;  // blank-separated; "^" is a blank inside one argument
        const char* Profile;
        const char* Options;
        bool Verbose;
    };
    const Case cases[] = {
        {"/etc/sw/PRD", "/etc/sw/PRD", "", false},
        {"/etc/sw/PRD CH=2,CRIT=1000", "/etc/sw/PRD", "CH=2,CRIT=1000", false},
        {"PRD CH=2,^WARN=5 CRIT=10", "PRD", "CH=2,WARN=5,CRIT=10", false},
        {"-p PRD -w 5 -c 10 -C 2 -t 50", "PRD", "WARN=5,CRIT=10,CH=2,TIMEOUT=50", false},
        {"--profile=PRD --warning=~:4 --critical 9: --timeout=0", "PRD", "WARN=~:4,CRIT=9:,TIMEOUT=0", false},
        {"PRD -w5 -c10", "PRD", "WARN=5,CRIT=10", false},
        {"-v -p PRD", "PRD", "", true},
        {"PRD -vv --verbose", "PRD", "", true},
        {"PRD -C Critical_Indexes", "PRD", "CH=5", false},
        {"PRD --channel=critical_objects", "PRD", "CH=2", false},
        {"PRD -C 7", "PRD", "CH=7", false},  // the channel's own check refuses it
        {"PRD -H sapprd02 --sysnr 07 --syslog", "PRD", "HOST=sapprd02,NO=07,SYSLOG", false},
        {"PRD --credentials-from-env", "PRD", "CREDENTIALS=ENV", false},
        {"PRD CREDENTIALS=PRTG-LINUX", "PRD", "CREDENTIALS=PRTG-LINUX", false},
        {"/etc/sw/GLOBAL SAPCORE^CRIT=10", "/etc/sw/GLOBAL", "SAPCORE CRIT=10", false},
        {"/etc/sw/GLOBAL SAPCORE", "/etc/sw/GLOBAL", "SAPCORE ", false},
        {"-p /etc/sw/GLOBAL -l SAPCORE -c 10", "/etc/sw/GLOBAL", "SAPCORE CRIT=10", false},
        {"-i Critical_Spaces -c 10", "", "ITEM=Critical_Spaces,CRIT=10", false},
        {"-w 5 -- -PRD", "-PRD", "WARN=5", false},
        {"PRD -w -5", "PRD", "WARN=-5", false},  // the range refuses it
    };
    for (const Case& c : cases) {
        CAPTURE(c.Arguments);
        const PluginCommandLine line = ReadPluginCommandLine(Words(c.Arguments));
        CHECK(line.Error == "");
        CHECK(line.Request == PluginRequest::Run);
        CHECK(line.ProfileName == c.Profile);
        CHECK(line.Options == c.Options);
        CHECK(line.Verbose == c.Verbose);
    }
}

TEST_CASE("nothing is ignored: every refusal names the word") {
    const std::pair<const char*, const char*> cases[] = {
        {"PRD CH=2,CRTI=1000", "Error 1009: Unknown option CRTI=1000 !"},
        {"PRD CH=2,CRITICAL=1000", "Error 1009: Unknown option CRITICAL=1000 !"},
        {"PRD SWITCH=3", "Error 1009: Unknown option SWITCH=3 !"},
        {"PRD NOCRIT=1000", "Error 1009: Unknown option NOCRIT=1000 !"},
        {"PRD CH=2^#^no^paging", "Error 1009: Unknown option # !"},
        {"PRD CRIT=5^@", "Error 1009: Unknown option @ !"},
        {"PRD CH=2 CRIT=5 extra", "Error 1009: Unexpected argument extra !"},
        {"PRD CRIT=", "Error 1009: Option CRIT= needs a value !"},
        {"PRD -w", "Error 1009: Option -w needs a value !"},
        {"PRD --critical", "Error 1009: Option --critical needs a value !"},
        {"PRD --critical=", "Error 1009: Option --critical needs a value !"},
        {"PRD -x", "Error 1009: Unknown option -x !"},
        {"PRD --warn 5", "Error 1009: Unknown option --warn !"},
        {"PRD --verbose=2", "Error 1009: Option --verbose takes no value !"},
        {"PRD -w 5 WARN=6", "Error 1009: Option WARN= given twice !"},
        {"PRD --credentials-from-env CREDENTIALS=ENV", "Error 1009: Option CREDENTIALS= given twice !"},
        {"-p PRD -p QAS", "Error 1009: Option --profile given twice !"},
        {"PRD -vx", "Error 1009: Unknown option -x !"},
        {"/etc/sw/GLOBAL", "Error 1009: The listing /etc/sw/GLOBAL needs the key of its systems: -l KEY !"},
        {"-p GLOBAL -c 5", "Error 1009: The listing GLOBAL needs the key of its systems: -l KEY !"},
    };
    for (const auto& [arguments, error] : cases) {
        CAPTURE(arguments);
        const PluginCommandLine line = ReadPluginCommandLine(Words(arguments));
        CHECK(line.Request == PluginRequest::UsageError);
        CHECK(line.Error == error);
    }
}

TEST_CASE("--help and --version, wherever they stand; help wins") {
    const std::pair<const char*, PluginRequest> cases[] = {
        {"--help", PluginRequest::Help},      {"-h", PluginRequest::Help},
        {"PRD -V", PluginRequest::Version},   {"--version -p PRD", PluginRequest::Version},
        {"-V --help", PluginRequest::Help},   {"-vh", PluginRequest::Help},
    };
    for (const auto& [arguments, request] : cases) {
        CAPTURE(arguments);
        CHECK(ReadPluginCommandLine(Words(arguments)).Request == request);
    }
}

TEST_CASE("the program's name, or FLAVOUR= among the keyword texts, makes the command line a plugin's") {
    struct Case {
        const char* Program;
        const char* Arguments;
        bool Plugin;
    };
    const Case cases[] = {
        {"/usr/lib/nagios/plugins/check_spacewarden", "PRD", true},
        {"C:\\x\\check_spacewarden.exe", "--help", true},
        {"SpaceWarden", "PRD", false},
        {"SpaceWarden", "PRD FLAVOUR=Nagios,CH=2", true},
        {"SpaceWarden", "PRD -v flavour=nagios", true},
        {"check_spacewarden", "PRD FLAVOUR=EXEXML", false},
        {"SpaceWarden", "PRD FLAVOUR=Juniper,CH=2", false},
        {"SpaceWarden", "PRD XFLAVOUR=nagios", true},          // as the flavour is selected: then refused as a word
        {"SpaceWarden", "PRD FLAVOUR=Kestrel FLAVOUR=Nagios", false},  // the first decides
        {"SpaceWarden", "FLAVOUR=Nagios", false},             // argument 1 is the profile
    };
    for (const Case& c : cases) {
        CAPTURE(c.Arguments);
        CHECK(CommandLineIsPlugin(c.Program, Words(c.Arguments)) == c.Plugin);
    }
}

TEST_CASE("help and usage name every option, and no \"|\" that a host would take for performance data") {
    const std::string help = PluginHelpText("/usr/lib/nagios/plugins/check_spacewarden");
    CHECK(help.rfind("check_spacewarden (SpaceWarden Vers ", 0) == 0);
    for (const std::string& name : PluginOptionNames()) {
        CAPTURE(name);
        CHECK(help.find(name) != std::string::npos);
    }
    CHECK(PluginUsageLine("check_spacewarden").find('|') == std::string::npos);
    CHECK(PluginUsageLine("C:\\Sensors\\check_spacewarden.exe").rfind("Usage: check_spacewarden [-v]", 0) == 0);
}
