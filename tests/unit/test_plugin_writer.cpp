// The flavour "Nagios": ranges as the monitoring-plugins guidelines define
// them, the status line and its performance data, and the state of errors.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "config/RunSettings.h"
#include "config/Thresholds.h"
#include "output/PluginWriter.h"
#include "output/ReportWriter.h"

namespace {

RunSettingsRecord PluginSettings(const std::string& options, bool multiSystemRun = true) {
    RunSettingsRecord settings;
    settings.HostFlavour = FirstFormatWith(&HostFormatTraits::PluginCommandLine);
    settings.ParameterTextAsGiven = options;
    settings.ParameterText = UpperAscii(options);
    settings.WholeWordOptions = true;
    settings.GlobalMode = multiSystemRun;
    settings.ItemIdentification = "Critical_Spaces";
    REQUIRE(SelectThresholds(settings, multiSystemRun) == "");
    return settings;
}

struct Listed {
    std::string Label;
    long long Value;
    std::string Failure;  // a failed system: why
};

// A listing's status line, the systems handed to the writer one by one.
std::string ListingLine(const RunSettingsRecord& settings, const std::vector<Listed>& systems, int& exitCode) {
    const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
    RunReport report;
    report.MultiSystem = true;
    report.Item = settings.ItemIdentification;
    std::string written = writer->Opening(report);
    for (const Listed& system : systems) {
        ++report.NoSystems;
        const bool measured = system.Failure.empty();
        report.Systems.push_back(
            SystemResult{system.Label, system.Label, "", measured, {system.Value, 0, 0, 0, 0}, system.Failure, {}});
        ++(measured ? report.Processed : report.Failed);
        written += writer->SystemDone(report);
    }
    written += writer->Closing(report);
    exitCode = writer->ExitCode(0);
    return written;
}

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

TEST_CASE("WARN=, CRIT= and CH= are read for the hosts that judge, and refused with Error 1009") {
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
        RunSettingsRecord settings;
        settings.ParameterTextAsGiven = c.options;
        settings.ParameterText = UpperAscii(c.options);
        CHECK(SelectThresholds(settings, c.multiSystemRun) == c.error);
    }
}

TEST_CASE("the status line of a listing: the state judged over the channels, thresholds after each value") {
    const std::vector<Listed> measured = {{"A", 2, ""}, {"B c", 30, ""}, {"C", -1, ""}};
    const std::string lines = "A: OK - Critical_Spaces=2\nB c: OK - Critical_Spaces=30\nC: OK - Critical_Spaces=-1\n";
    const std::string text = "(***) Critical_Spaces: NoSystems=3, Processed=3, Failed=0";
    struct Case {
        const char* options;
        std::vector<Listed> systems;
        std::string expected;
        int exitCode;
    };
    const Case cases[] = {
        {"", measured, "SPACEWARDEN OK - " + text + " | A=2 'B c'=30 C=-1\n" + lines, 0},
        {"WARN=10", measured,
         "SPACEWARDEN WARNING - B c=30 above 10, C=-1 below 0 - " + text + " | A=2;10 'B c'=30;10 C=-1;10\n"
         "A: OK - Critical_Spaces=2\nB c: WARNING - Critical_Spaces=30\nC: WARNING - Critical_Spaces=-1\n", 1},
        {"CRIT=~:29,WARN=0:", measured,
         "SPACEWARDEN CRITICAL - B c=30 above 29 - " + text + " | A=2;0:;~:29 'B c'=30;0:;~:29 C=-1;0:;~:29\n"
         "A: OK - Critical_Spaces=2\nB c: CRITICAL - Critical_Spaces=30\nC: WARNING - Critical_Spaces=-1\n", 2},
        // Each system's line judges its own value; CH= selects what decides the state.
        {"CH=2,CRIT=30", measured, "SPACEWARDEN OK - " + text + " | 'B c'=30;;30\n"
         "A: OK - Critical_Spaces=2\nB c: OK - Critical_Spaces=30\nC: CRITICAL - Critical_Spaces=-1\n", 0},
        // A failed system: CRITICAL, named first; its line says why ("|" and line ends never reach a line).
        {"", {{"A", 2, ""}, {"QAS", 0, "Error 1012: Exception.: X|Y\r\nZ"}},
         "SPACEWARDEN CRITICAL - QAS: Error 1012: Exception.: X/Y  Z - (***) Critical_Spaces: NoSystems=2, "
         "Processed=1, Failed=1 | A=2\nA: OK - Critical_Spaces=2\nQAS: CRITICAL - Error 1012: Exception.: X/Y  Z\n", 2},
        // CH= beyond the channels: nothing to judge, the option is wrong.
        {"CH=7", measured, "SPACEWARDEN UNKNOWN - Error 1009: Invalid CH=7 !\n", 3},
    };
    for (const Case& c : cases) {
        CAPTURE(c.options);
        int exitCode = -1;
        CHECK(ListingLine(PluginSettings(c.options), c.systems, exitCode) == c.expected);
        CHECK(exitCode == c.exitCode);
    }
}

TEST_CASE("the status line of one system: its five channels, counts without thousands marks") {
    const RunSettingsRecord settings = PluginSettings("WARN=1000", false);
    const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
    RunReport report;
    report.Subject = "PRD";
    report.Systems.push_back(SystemResult{"PRD.P00", "PRD", "PRD", true, {3, 1234, 2, 4, 1229}, "", {}});
    CHECK(writer->Closing(report) ==
          "SPACEWARDEN WARNING - Critical_Objects=1234 above 1000, Critical_Indexes=1229 above 1000 - (PRD) Oracle: "
          "Critical_Spaces=3, Critical_Objects=1234 | Critical_Spaces=3;1000 Critical_Objects=1234;1000 "
          "Critical_TableSpc=2;1000 Critical_Tables=4;1000 Critical_Indexes=1229;1000\n");
    CHECK(writer->ExitCode(0) == 1);
    CHECK(writer->LostOutputExitCode() == 3);
}

TEST_CASE("a long listing names the channels that fit and counts the others, within the document's room") {
    std::vector<Listed> systems;
    for (int n = 1; n <= 200; ++n) systems.push_back({"SYSTEM" + std::to_string(n), 99, ""});
    int exitCode = -1;
    const std::string output = ListingLine(PluginSettings("CRIT=10"), systems, exitCode);
    const std::string line = output.substr(0, output.find('\n') + 1);
    CHECK(line.rfind("SPACEWARDEN CRITICAL - SYSTEM1=99 above 10, SYSTEM2=99 above 10, ", 0) == 0);
    CHECK(line.find(" and 154 more - (***) Critical_Spaces: NoSystems=200") != std::string::npos);
    // The performance data that would pass the room is left out whole, the values judged all the same.
    CHECK(line.find("| SYSTEM1=99;;10") != std::string::npos);
    CHECK(line.find("SYSTEM200=99;;10") == std::string::npos);
    // The status line fills the room: no system's line fits, nor their count (it once passed the room).
    CHECK(output.size() <= 4095);
    CHECK(output == line);
    CHECK(exitCode == 2);
}

TEST_CASE("errors: the status line of the error and its state, CRITICAL or UNKNOWN") {
    const RunSettingsRecord settings = PluginSettings("");
    const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
    CHECK(writer->ExitCode(0) == 3);  // nothing written yet: UNKNOWN
    CHECK(writer->Error(RunReport{}, "Error 1018: DataBase mismatch !") ==
          "SPACEWARDEN CRITICAL - Error 1018: DataBase mismatch !\n");
    CHECK(writer->ExitCode(2) == 2);
    CHECK(writer->Error(RunReport{}, "Error 1009: Invalid WARN=x !") == "SPACEWARDEN UNKNOWN - Error 1009: Invalid WARN=x !\n");
    CHECK(writer->ExitCode(2) == 3);
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
