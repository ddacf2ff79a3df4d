// The flavour "Nagios": ranges as the monitoring-plugins guidelines define
// them, the status line and its performance data, and the state of errors.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "config/RunSettings.h"
#include "config/Thresholds.h"
#include "output/PluginStatus.h"

namespace {

struct PluginState_ {
    explicit PluginState_(const std::string& options) {
        RunSettings = RunSettingsRecord{};
        RunSettings.HostFlavour = HostFormat::Nagios;
        RunSettings.ParameterTextAsGiven = options;
        RunSettings.ParameterText = UpperAscii(options);
        REQUIRE(SelectThresholds(false) == "");
        BeginPluginStatus();
    }
    ~PluginState_() {
        RunSettings = RunSettingsRecord{};
        Thresholds = ThresholdsRecord{};
    }
};

}  // namespace

TEST_CASE("ranges alert outside their endpoints, which are inside") {
    struct Case {
        const char* range;
        std::vector<double> inside;
        std::vector<double> outside;
    };
    const Case cases[] = {
        {"10", {0, 5, 10}, {-1, -0.5, 10.1, 11}},
        {"10:", {10, 11, 1e9}, {9.99, 0, -10}},
        {"~:10", {-1e9, 0, 10}, {10.5, 11}},
        {"10:20", {10, 15, 20}, {9, 21}},
        {"-5:-1", {-5, -1}, {-6, 0}},
        {"0", {0}, {-1, 1}},
        {"~:", {-1e9, 0, 1e9}, {}},
        {"1.5:2.5", {1.5, 2, 2.5}, {1.4, 2.6}},
        {"+3", {0, 3}, {4}},
        {"5:5", {5}, {4, 6}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.range);
        ThresholdRange range;
        REQUIRE(ParseRange(c.range, range));
        CHECK(range.Text == c.range);
        for (double value : c.inside) CHECK_FALSE(OutsideRange(range, value));
        for (double value : c.outside) CHECK(OutsideRange(range, value));
    }
    for (const char* invalid : {"", "@10", "@10:20", "20:10", "abc", "10:abc", "1e3", ":", ":10", "10::20", "~",
                                "~10", "--1", "1.2.3", "+", ".", "10 ", "0x10"}) {
        CAPTURE(invalid);
        ThresholdRange range;
        CHECK_FALSE(ParseRange(invalid, range));
    }
    CHECK_FALSE(OutsideRange(ThresholdRange{}, 1e9));  // no range given: nothing alerts
}

TEST_CASE("WARN=, CRIT= and CH= are read for the flavour Nagios, and refused with Error 1009") {
    struct Case {
        const char* options;
        bool multiSystemRun;
        const char* error;
    };
    const Case cases[] = {
        {"", false, ""},
        {"warn=10,crit=20", false, ""},
        {"WARN=~:5 CRIT=10: CH=5", false, ""},
        {"CH=200", true, ""},
        {"WARN=@5", false, "Error 1009: Invalid WARN=@5 !"},
        {"WARN=5,CRIT=x", false, "Error 1009: Invalid CRIT=x !"},
        {"CRIT=", false, "Error 1009: Invalid CRIT= !"},
        {"CH=0", false, "Error 1009: Invalid CH=0 !"},
        {"CH=6", false, "Error 1009: Invalid CH=6 !"},
        {"CH=x", true, "Error 1009: Invalid CH=x !"},
        {"CH=1234", true, ""},  // read as the channel writer reads it: three characters, 123
    };
    for (const Case& c : cases) {
        CAPTURE(c.options);
        RunSettings = RunSettingsRecord{};
        RunSettings.ParameterTextAsGiven = c.options;
        RunSettings.ParameterText = UpperAscii(c.options);
        CHECK(SelectThresholds(c.multiSystemRun) == c.error);
    }
    RunSettings = RunSettingsRecord{};
    Thresholds = ThresholdsRecord{};
}

TEST_CASE("the status line: state judged over the channels, thresholds after each value") {
    struct Case {
        const char* options;
        PluginState raised;
        std::string expected;
        int exitCode;
    };
    const Case cases[] = {
        {"", PluginState::Ok, "SPACEWARDEN OK - (PRD) a|b\rc | A=2 'B c'=30 C=-1\n", 0},
        {"WARN=10", PluginState::Ok,
         "SPACEWARDEN WARNING - B c=30 above 10, C=-1 below 0 - (PRD) a|b\rc | A=2;10 'B c'=30;10 C=-1;10\n", 1},
        {"CRIT=~:30,WARN=0:", PluginState::Ok,
         "SPACEWARDEN WARNING - C=-1 below 0 - (PRD) a|b\rc | A=2;0:;~:30 'B c'=30;0:;~:30 C=-1;0:;~:30\n", 1},
        {"CRIT=~:29,WARN=0:", PluginState::Ok,
         "SPACEWARDEN CRITICAL - B c=30 above 29 - (PRD) a|b\rc | A=2;0:;~:29 'B c'=30;0:;~:29 C=-1;0:;~:29\n", 2},
        {"CRIT=5:10", PluginState::Ok, "SPACEWARDEN CRITICAL - A=2 below 5, B c=30 above 10, C=-1 below 5 - (PRD) a|b\rc | "
         "A=2;;5:10 'B c'=30;;5:10 C=-1;;5:10\n", 2},
        {"CH=2,CRIT=30", PluginState::Ok, "SPACEWARDEN OK - (PRD) a|b\rc | 'B c'=30;;30\n", 0},
        {"", PluginState::Critical, "SPACEWARDEN CRITICAL - (PRD) a|b\rc | A=2 'B c'=30 C=-1\n", 2},
    };
    for (const Case& c : cases) {
        CAPTURE(c.options);
        PluginState_ state(c.options);
        AppendPluginText("(PRD) a|b\rc");
        AddPluginChannel(1, "A", "2");
        AddPluginChannel(2, "B c", "30");
        AddPluginChannel(3, "C", "-1");
        RaisePluginState(c.raised);
        std::string expected = c.expected;
        expected.replace(expected.find("a|b\rc"), 5, "a/b c");  // a "|" and a line end never reach the line
        CHECK(PluginStatusLine(4095) == expected);
        CHECK(PluginExitCode() == c.exitCode);
    }
}

TEST_CASE("performance data that would pass the room is left out whole, the values judged all the same") {
    PluginState_ state("CRIT=10");
    AppendPluginText("t");
    for (int n = 1; n <= 3; ++n) AddPluginChannel(n, "S" + std::to_string(n), n == 3 ? "99" : "1");
    CHECK(PluginStatusLine(53) == "SPACEWARDEN CRITICAL - S3=99 above 10 - t | S1=1;;10\n");
    CHECK(PluginStatusLine(52) == "SPACEWARDEN CRITICAL - S3=99 above 10 - t\n");
    CHECK(PluginStatusLine(20) == "SPACEWARDEN CRITICAL - S3=99 above 10 - t\n");
    CHECK(PluginExitCode() == 2);
}

TEST_CASE("a long listing names the channels that fit and counts the others") {
    PluginState_ state("CRIT=10");
    AppendPluginText("t");
    for (int n = 1; n <= 200; ++n) AddPluginChannel(n, "SYSTEM" + std::to_string(n), "99");
    const std::string line = PluginStatusLine(4095);
    CHECK(line.rfind("SPACEWARDEN CRITICAL - SYSTEM1=99 above 10, SYSTEM2=99 above 10, ", 0) == 0);
    CHECK(line.find(" and 154 more - t | SYSTEM1=99;;10") != std::string::npos);
    CHECK(line.size() <= 4095);
    CHECK(line.size() > 4095 - 16);  // the next entry would have passed the room
}

TEST_CASE("labels of the performance data") {
    const std::pair<const char*, const char*> cases[] = {
        {"Critical_Spaces", "Critical_Spaces"}, {"PRD.P00", "PRD.P00"},       {"sap-qas.example", "sap-qas.example"},
        {"PRD host", "'PRD host'"},             {"a'b=c", "a_b_c"},           {"x|y", "'x/y'"},
        {"R&D", "'R&D'"},                       {"", "''"},                    {"\xe4", "'\xe4'"},
        {"ctl\x01\x7f", "'ctl \x7f'"},          {"a\tb\nc", "'a b c'"},
    };
    for (const auto& [label, shown] : cases) {
        CAPTURE(label);
        CHECK(PerformanceLabel(label) == shown);
    }
}

TEST_CASE("errors of reaching and asking the system are CRITICAL, every other UNKNOWN") {
    const std::pair<const char*, PluginState> cases[] = {
        {"Error 1011: RFC-Open for PRD failed !", PluginState::Critical},
        {"Error 1012: Exception.: X - y", PluginState::Critical},
        {"Error 1013: Sys-Exception raised !", PluginState::Critical},
        {"Error 1014: RFC-Failure raised ! - x", PluginState::Critical},
        {"Error 1015: Other Failure raised !", PluginState::Critical},
        {"Error 1018: DataBase mismatch !", PluginState::Critical},
        {"Error 1019: RFC-Timeout for PRD after 55 s !", PluginState::Critical},
        {"Error 1001: Parameter for Profile-Name is missing !", PluginState::Unknown},
        {"Error 1002: Profile PRD.P00 is missing...", PluginState::Unknown},
        {"Error 1009: Invalid WARN=x !", PluginState::Unknown},
        {"Error 1016: RFC-Library x could not be loaded...", PluginState::Unknown},
        {"Error 1017: RFC-Library x lacks RfcOpen...", PluginState::Unknown},
        {"Error 1020: RFC error in ItCreate CRITOBJ", PluginState::Unknown},
        {"Error 10x1: ProFile SAP Overseer.Gbl is missing...", PluginState::Unknown},
        {"Sorry, invalid Path-Usage...", PluginState::Unknown},
        {"Error 101", PluginState::Unknown},
    };
    for (const auto& [text, state] : cases) {
        CAPTURE(text);
        CHECK(PluginErrorState(text) == state);
    }
    CHECK(PluginErrorLine("Error 1012: Exception.: A|B") == "SPACEWARDEN CRITICAL - Error 1012: Exception.: A/B\n");
    CHECK(PluginErrorLine("Error 1002: " + std::string(200, 'x')) ==
          "SPACEWARDEN UNKNOWN - Error 1002: " + std::string(115, 'x') + "\n");
}
