// The writers of the formats written from the whole report: each over the
// same reports (one system, a listing with a failed system, an error that
// ended the run, hostile texts), compared as whole documents.
#include <doctest/doctest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "config/RunSettings.h"
#include "config/Thresholds.h"
#include "output/CheckmkWriter.h"
#include "output/PrometheusWriter.h"
#include "output/ReportWriter.h"
#include "output/ScriptV2Writer.h"
#include "output/Utf8.h"
#include "config/CriticalNamesOptions.h"
#include "report/RunReport.h"

namespace {

RunReport SingleSystem() {
    RunReport report;
    report.Subject = "PRD";
    report.Systems.push_back(SystemResult{"PRD.P00", "PRD", "PRD", true, {1234, 5, 6, 7, 8}, "", {}});
    report.DurationSeconds = 1.5;
    return report;
}

RunReport Listing() {
    RunReport report;
    report.MultiSystem = true;
    report.Subject = "listing Critical_Tables";
    report.Item = "Critical_Tables";
    report.Systems.push_back(SystemResult{"PRD.P00", "PRD", "PRD", true, {3, 7, 2, 4, 3}, "", {}});
    report.Systems.push_back(SystemResult{"QAS.P00", "QAS", "QAS", false, {}, "Error 1018: DataBase mismatch !", {}});
    report.NoSystems = 2;
    report.Processed = 1;
    report.Failed = 1;
    return report;
}

RunReport RunError() {
    RunReport report;
    report.Subject = "PRD";
    report.RunError = "Error 1002: Profile PRD.P00 is missing...";
    return report;
}

// A label from a profile written in code page 1252 ("\xC4" is A with diaeresis),
// and an RFC message with a "|" and a control character.
RunReport HostileTexts() {
    RunReport report = Listing();
    report.Systems[0].Label = "a\"b\\c|d\ne\xC4";
    report.Systems[1].Label = "X";
    report.Systems[1].Failure = "Error 1012: Exception.: A|B\x01";
    return report;
}

ThresholdsRecord Ranges(const std::string& warning, const std::string& critical) {
    ThresholdsRecord thresholds;
    if (!warning.empty()) REQUIRE(ParseRange(warning, thresholds.Warning));
    if (!critical.empty()) REQUIRE(ParseRange(critical, thresholds.Critical));
    return thresholds;
}

// The gauges of a measured system whose rows are all named.
std::string NothingUnnamed(const std::string& system) {
    std::string text;
    for (const char* gauge : {"spacewarden_critical_tablespaces_unnamed", "spacewarden_critical_objects_unnamed",
                              "spacewarden_critical_rows_excluded"}) {
        const std::string help = std::string(gauge) == "spacewarden_critical_rows_excluded"
                                     ? "Rows of critical tablespaces and objects left out by EXCLUDE=."
                                     : std::string("Critical ") +
                                           (std::string(gauge).find("tablespaces") != std::string::npos
                                                ? "tablespaces"
                                                : "database objects") +
                                           " counted but not named (beyond NAMES= or the file's room).";
        text += std::string("# HELP ") + gauge + " " + help + "\n# TYPE " + gauge + " gauge\n" + gauge +
                "{system=\"" + system + "\"} 0\n";
    }
    return text;
}

struct Golden {
    const char* name;
    RunReport report;
    ThresholdsRecord thresholds;
    std::string expected;
};

}  // namespace

TEST_CASE("Checkmk: a line per service, metrics joined by '|', one line whatever the texts hold") {
    ThresholdsRecord hostJudges = Ranges("3", "5");
    hostJudges.HostJudges = true;
    const Golden cases[] = {
        {"one system", SingleSystem(), {},
         "0 \"SpaceWarden PRD\" spacewarden_critical_spaces=1234|spacewarden_critical_objects=5|"
         "spacewarden_critical_tablespc=6|spacewarden_critical_tables=7|spacewarden_critical_indexes=8 "
         "Critical_Spaces=1234, Critical_Objects=5, Critical_TableSpc=6, Critical_Tables=7, Critical_Indexes=8\n"},
        {"thresholds", SingleSystem(), Ranges("6", "7"),
         "2 \"SpaceWarden PRD\" spacewarden_critical_spaces=1234;7;8|spacewarden_critical_objects=5;7;8|"
         "spacewarden_critical_tablespc=6;7;8|spacewarden_critical_tables=7;7;8|spacewarden_critical_indexes=8;7;8 "
         "Critical_Spaces=1234 above 7, Critical_Indexes=8 above 7 - "
         "Critical_Spaces=1234, Critical_Objects=5, Critical_TableSpc=6, Critical_Tables=7, Critical_Indexes=8\n"},
        {"Checkmk judges", Listing(), hostJudges,
         "P \"SpaceWarden PRD\" spacewarden_critical_spaces=3|spacewarden_critical_objects=7|"
         "spacewarden_critical_tablespc=2|spacewarden_critical_tables=4;4;6|spacewarden_critical_indexes=3 "
         "PRD=4 above 3 - Critical_Tables=4\n"
         "2 \"SpaceWarden QAS\" - Error 1018: DataBase mismatch !\n"
         "0 \"SpaceWarden listing Critical_Tables\" spacewarden_systems=2|spacewarden_processed=1|spacewarden_failed=1 "
         "NoSystems=2, Processed=1, Failed=1\n"},
        {"run error", RunError(), {}, "3 \"SpaceWarden PRD\" - Error 1002: Profile PRD.P00 is missing...\n"},
        {"hostile texts", HostileTexts(), {},
         "0 \"SpaceWarden a'b\\c/d e\xC3\x84\" spacewarden_critical_spaces=3|spacewarden_critical_objects=7|"
         "spacewarden_critical_tablespc=2|spacewarden_critical_tables=4|spacewarden_critical_indexes=3 "
         "Critical_Tables=4\n"
         "2 \"SpaceWarden X\" - Error 1012: Exception.: A/B \n"
         "0 \"SpaceWarden listing Critical_Tables\" spacewarden_systems=2|spacewarden_processed=1|spacewarden_failed=1 "
         "NoSystems=2, Processed=1, Failed=1\n"},
    };
    for (const Golden& c : cases) {
        CAPTURE(c.name);
        CHECK(CheckmkLocalCheck(c.report, c.thresholds) == c.expected);
    }

    RunReport deadline = Listing();
    deadline.RunError = "Error 1019: RFC-Timeout for QAS after 55 s !";
    CHECK(CheckmkLocalCheck(deadline, {}).find("2 \"SpaceWarden listing Critical_Tables\" - Error 1019: RFC-Timeout "
                                               "for QAS after 55 s ! - NoSystems=2") != std::string::npos);
}

TEST_CASE("Script v2: one JSON object, stable channel ids, errors as status error") {
    const Golden cases[] = {
        {"one system", SingleSystem(), {},
         "{\"version\": 2, \"status\": \"ok\", \"message\": \"(PRD) Oracle: Critical_Spaces=1.234, Critical_Objects=5\", "
         "\"channels\": [{\"id\": 10, \"name\": \"Critical_Spaces\", \"type\": \"integer\", \"value\": 1234}, "
         "{\"id\": 11, \"name\": \"Critical_Objects\", \"type\": \"integer\", \"value\": 5}, "
         "{\"id\": 12, \"name\": \"Critical_TableSpc\", \"type\": \"integer\", \"value\": 6}, "
         "{\"id\": 13, \"name\": \"Critical_Tables\", \"type\": \"integer\", \"value\": 7}, "
         "{\"id\": 14, \"name\": \"Critical_Indexes\", \"type\": \"integer\", \"value\": 8}]}\n"},
        {"listing", Listing(), {},
         "{\"version\": 2, \"status\": \"warning\", \"message\": \"(***) Critical_Tables: NoSystems=2, Processed=1, "
         "Failed=1; QAS: Error 1018: DataBase mismatch !\", "
         "\"channels\": [{\"id\": 837886785, \"name\": \"PRD\", \"type\": \"integer\", \"value\": 4}]}\n"},
        {"run error", RunError(), {},
         "{\"version\": 2, \"status\": \"error\", \"message\": \"Error 1002: Profile PRD.P00 is missing...\"}\n"},
        {"hostile texts", HostileTexts(), Ranges("", "3"),
         "{\"version\": 2, \"status\": \"error\", \"message\": \"(***) Critical_Tables: NoSystems=2, Processed=1, "
         "Failed=1; X: Error 1012: Exception.: A|B\\u0001\", \"channels\": [{\"id\": 1815472332, "
         "\"name\": \"a\\\"b\\\\c|d\\ne\xC3\x84\", \"type\": \"integer\", \"value\": 4}]}\n"},
    };
    for (const Golden& c : cases) {
        CAPTURE(c.name);
        CHECK(ScriptV2Document(c.report, c.thresholds) == c.expected);
    }
}

TEST_CASE("Script v2: fifty channels at most; the systems beyond are named, and the ids stay unique") {
    RunReport report = Listing();
    report.Systems.clear();
    for (int n = 0; n < 52; ++n)
        report.Systems.push_back(SystemResult{"", "S" + std::to_string(n), "", true, {0, 0, 0, n, 0}, "", {}});
    report.NoSystems = report.Processed = 52;
    report.Failed = 0;
    const std::string document = ScriptV2Document(report, {});
    CHECK(document.find("\"status\": \"warning\"") != std::string::npos);
    CHECK(document.find("; 2 systems beyond PRTG's 50 channels: S50, S51\"") != std::string::npos);
    CHECK(document.find("\"name\": \"S49\"") != std::string::npos);
    CHECK(document.find("\"name\": \"S50\"") == std::string::npos);
    // The same id for every label that is the same, wherever it stands in the listing.
    CHECK(SystemChannelId("PRD") == 837886785);
    CHECK(SystemChannelId("PRD") != SystemChannelId("QAS"));

    const std::string longText(2100, 'x');
    RunReport error = RunError();
    error.RunError = longText;
    CHECK(ScriptV2Document(error, {}) ==
          "{\"version\": 2, \"status\": \"error\", \"message\": \"" + std::string(2000, 'x') + "\"}\n");
}

TEST_CASE("Prometheus: HELP and TYPE once per metric, labels escaped, a failed system up 0 without values") {
    const Golden cases[] = {
        {"one system", SingleSystem(), {},
         "# HELP spacewarden_up Whether the SAP system was checked (1) or failed (0).\n"
         "# TYPE spacewarden_up gauge\nspacewarden_up{system=\"PRD\"} 1\n"
         "# HELP spacewarden_critical_spaces Channel Critical_Spaces of the critical objects check.\n"
         "# TYPE spacewarden_critical_spaces gauge\nspacewarden_critical_spaces{system=\"PRD\"} 1234\n"
         "# HELP spacewarden_critical_objects Channel Critical_Objects of the critical objects check.\n"
         "# TYPE spacewarden_critical_objects gauge\nspacewarden_critical_objects{system=\"PRD\"} 5\n"
         "# HELP spacewarden_critical_tablespc Channel Critical_TableSpc of the critical objects check.\n"
         "# TYPE spacewarden_critical_tablespc gauge\nspacewarden_critical_tablespc{system=\"PRD\"} 6\n"
         "# HELP spacewarden_critical_tables Channel Critical_Tables of the critical objects check.\n"
         "# TYPE spacewarden_critical_tables gauge\nspacewarden_critical_tables{system=\"PRD\"} 7\n"
         "# HELP spacewarden_critical_indexes Channel Critical_Indexes of the critical objects check.\n"
         "# TYPE spacewarden_critical_indexes gauge\nspacewarden_critical_indexes{system=\"PRD\"} 8\n" +
             NothingUnnamed("PRD") +
         "# HELP spacewarden_run_success Whether the run came to its end (1) or an error ended it (0).\n"
         "# TYPE spacewarden_run_success gauge\nspacewarden_run_success 1\n"
         "# HELP spacewarden_run_duration_seconds How long the run took.\n"
         "# TYPE spacewarden_run_duration_seconds gauge\nspacewarden_run_duration_seconds 1.500\n"},
        {"hostile texts", HostileTexts(), {},
         "# SpaceWarden: X: Error 1012: Exception.: A|B\x01\n"
         "# HELP spacewarden_up Whether the SAP system was checked (1) or failed (0).\n"
         "# TYPE spacewarden_up gauge\nspacewarden_up{system=\"a\\\"b\\\\c|d\\ne\xC3\x84\"} 1\n"
         "spacewarden_up{system=\"X\"} 0\n"
         "# HELP spacewarden_critical_spaces Channel Critical_Spaces of the critical objects check.\n"
         "# TYPE spacewarden_critical_spaces gauge\nspacewarden_critical_spaces{system=\"a\\\"b\\\\c|d\\ne\xC3\x84\"} 3\n"
         "# HELP spacewarden_critical_objects Channel Critical_Objects of the critical objects check.\n"
         "# TYPE spacewarden_critical_objects gauge\nspacewarden_critical_objects{system=\"a\\\"b\\\\c|d\\ne\xC3\x84\"} 7\n"
         "# HELP spacewarden_critical_tablespc Channel Critical_TableSpc of the critical objects check.\n"
         "# TYPE spacewarden_critical_tablespc gauge\nspacewarden_critical_tablespc{system=\"a\\\"b\\\\c|d\\ne\xC3\x84\"} 2\n"
         "# HELP spacewarden_critical_tables Channel Critical_Tables of the critical objects check.\n"
         "# TYPE spacewarden_critical_tables gauge\nspacewarden_critical_tables{system=\"a\\\"b\\\\c|d\\ne\xC3\x84\"} 4\n"
         "# HELP spacewarden_critical_indexes Channel Critical_Indexes of the critical objects check.\n"
         "# TYPE spacewarden_critical_indexes gauge\nspacewarden_critical_indexes{system=\"a\\\"b\\\\c|d\\ne\xC3\x84\"} 3\n" +
             NothingUnnamed("a\\\"b\\\\c|d\\ne\xC3\x84") +
         "# HELP spacewarden_run_success Whether the run came to its end (1) or an error ended it (0).\n"
         "# TYPE spacewarden_run_success gauge\nspacewarden_run_success 1\n"
         "# HELP spacewarden_run_duration_seconds How long the run took.\n"
         "# TYPE spacewarden_run_duration_seconds gauge\nspacewarden_run_duration_seconds 0.000\n"},
        {"run error", RunError(), {},
         "# SpaceWarden: Error 1002: Profile PRD.P00 is missing...\n"
         "# HELP spacewarden_up Whether the SAP system was checked (1) or failed (0).\n"
         "# TYPE spacewarden_up gauge\nspacewarden_up{system=\"PRD\"} 0\n"
         "# HELP spacewarden_run_success Whether the run came to its end (1) or an error ended it (0).\n"
         "# TYPE spacewarden_run_success gauge\nspacewarden_run_success 0\n"
         "# HELP spacewarden_run_duration_seconds How long the run took.\n"
         "# TYPE spacewarden_run_duration_seconds gauge\nspacewarden_run_duration_seconds 0.000\n"},
    };
    for (const Golden& c : cases) {
        CAPTURE(c.name);
        CHECK(PrometheusText(c.report) == c.expected);
    }
    // A run that ended before a system was named: no empty label, which Prometheus would read as none.
    RunReport unnamed = RunError();
    unnamed.Subject.clear();
    CHECK(PrometheusText(unnamed).find("\nspacewarden_up 0\n") != std::string::npos);
}

TEST_CASE("texts made valid UTF-8 and cut by characters") {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"},  // 2, 3 and 4 bytes
        {"Gr\xF6\xDF" "e", "Gr\xC3\xB6\xC3\x9F" "e"},                                    // code page 1252
        {"\x80\x9F", "\xEF\xBF\xBD\xEF\xBF\xBD"},                                         // no character of 1252 here
        {"\xC0\x80", "\xC3\x80\xEF\xBF\xBD"},                                                 // an overlong zero
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xEF\xBF\xBD"},                                    // a surrogate
        {"\xE2\x82", "\xC3\xA2\xEF\xBF\xBD"},                                             // cut short
        {"\xF5\x80\x80\x80", "\xC3\xB5\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},             // beyond U+10FFFF
    };
    for (const auto& [given, valid] : cases) {
        CAPTURE(given);
        CHECK(ValidUtf8(given) == valid);
    }
    CHECK(FirstCharacters("a\xC3\xA4\xE2\x82\xAC" "b", 3) == "a\xC3\xA4\xE2\x82\xAC");
    CHECK(FirstCharacters("ab", 5) == "ab");
}

TEST_CASE("ranges as Checkmk's levels, which alert at a value at or above them") {
    const std::pair<const char*, long long> levels[] = {{"10", 11}, {"~:10", 11}, {"10.5", 11}, {"0:10", 11},
                                                        {"~:-2.5", -2}, {"0", 1}};
    for (const auto& [text, level] : levels) {
        CAPTURE(text);
        ThresholdRange range;
        REQUIRE(ParseRange(text, range));
        long long found = 0;
        CHECK(LevelFromAbove(range, found));
        CHECK(found == level);
    }
    for (const char* text : {"5:10", "10:", "~:"}) {
        CAPTURE(text);
        ThresholdRange range;
        if (!ParseRange(text, range)) continue;
        long long found = 0;
        CHECK_FALSE(LevelFromAbove(range, found));
    }
}

TEST_CASE("systems that share a label are told apart: Checkmk would merge their services, Prometheus their series") {
    RunReport report = Listing();
    report.Subject = "listing X";
    report.Systems.clear();
    const std::pair<const char*, const char*> systems[] = {{"PRD.P00", "PRD"}, {"PRD.P01", "PRD"}, {"E.P00", ""},
                                                           {"L.P00", "listing X"}, {"A.P00", "A"}, {"A.P00", "A"},
                                                           {"A.P00", "A"}};
    for (const auto& [name, label] : systems) report.Systems.push_back(SystemResult{name, label, "", true, {}, "", {}});
    const std::vector<std::string> expected = {"PRD", "PRD (PRD.P01)", "E.P00", "listing X (L.P00)",
                                               "A", "A (A.P00)", "A (A.P00) #2"};
    CHECK(DistinctSystemNames(report, [](const std::string& name) { return name; }) == expected);

    // Two labels that the host's form makes one ("a|b" and "a/b" in a Checkmk service's name).
    report.Systems = {SystemResult{"1.P00", "a|b", "", false, {}, "x", {}}, SystemResult{"2.P00", "a/b", "", false, {}, "y", {}}};
    CHECK(CheckmkLocalCheck(report, {}).find("2 \"SpaceWarden a/b (2.P00)\" - y\n") != std::string::npos);
}

TEST_CASE("many named rows: every host's document stays within its bounds, the rows beyond counted") {
    // Thirty systems, each with the most rows NAMES= lets the report carry, of the longest names.
    RunReport listing;
    listing.MultiSystem = true;
    listing.Item = "Critical_Objects";
    listing.Subject = "listing Critical_Objects";
    for (int n = 0; n < 30; ++n) {
        SystemResult system{"S" + std::to_string(n) + ".P00", "S" + std::to_string(n), "", true, {1000, 1000, 0, 0, 0}, "", {}};
        for (unsigned row = 0; row < MostNamesLimit; ++row) {
            system.Names.Tablespaces.push_back(CriticalTablespace{std::string(30, '&'), {-2147483647 - 1}});
            system.Names.Objects.push_back(CriticalObject{std::string(30, '<'), std::string(30, 'T'), "PSAPTEMP", {}});
        }
        listing.Systems.push_back(system);
    }
    listing.NoSystems = listing.Processed = 30;

    // Checkmk: every service's long output within its room, the document within the whole one.
    const std::string checkmk = CheckmkLocalCheck(listing, {});
    std::size_t longest = 0, lines = 0;
    for (std::size_t at = 0, end; at < checkmk.size(); at = end + 1, ++lines) {
        end = checkmk.find('\n', at);
        longest = std::max(longest, end - at);
    }
    CHECK(lines == 31);
    CHECK(longest < 8000 + 400);
    CHECK(checkmk.size() < 256 * 1024 + 31 * 400);
    CHECK(checkmk.find("more critical objects") != std::string::npos);

    // Prometheus: at most 2,000 rows named in one file; the unnamed gauges count the rest.
    const std::string prometheus = PrometheusText(listing);
    std::size_t namedRows = 0;
    long long unnamed = 0;
    for (std::size_t at = 0, end; at < prometheus.size(); at = end + 1) {
        end = prometheus.find('\n', at);
        const std::string line = prometheus.substr(at, end - at);
        if (line.rfind("spacewarden_critical_tablespace_maxblkfree{", 0) == 0 ||
            line.rfind("spacewarden_critical_object_maxblkfree{", 0) == 0)
            ++namedRows;
        if (line.rfind("spacewarden_critical_tablespaces_unnamed{", 0) == 0 ||
            line.rfind("spacewarden_critical_objects_unnamed{", 0) == 0)
            unnamed += std::stoll(line.substr(line.rfind(' ') + 1));
    }
    CHECK(namedRows == 2000);
    CHECK(unnamed == 30 * 2000 - 2000);
    // One name for every row of a system: each becomes a label of its own.
    CHECK(prometheus.find("tablespace=\"&&&&&&&&&&&&&&&&&&&&&&&&&&&&&& #1000\"") != std::string::npos);

    // Script v2: the message within PRTG's 2,000 characters.
    const std::string scriptV2 = ScriptV2Document(listing, {});
    const std::size_t message = scriptV2.find("\"message\": \"") + 12;
    CHECK(scriptV2.find("\", \"channels\"") - message <= 2000);

    // The plugin and PRTG's XML, streamed system by system: the plugin's whole
    // output within the document's room, PRTG's text line within its 2,000
    // characters and its closing whole.
    for (const bool plugin : {true, false}) {
        CAPTURE(plugin);
        RunSettingsRecord settings;
        settings.HostFlavour = FirstFormatWith(plugin ? &HostFormatTraits::PluginCommandLine : &HostFormatTraits::PrtgXml);
        settings.GlobalMode = true;
        settings.ItemIdentification = listing.Item;
        settings.Names.InPrtgText = true;
        const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
        RunReport grown = listing;
        grown.Systems.clear();
        std::string written = writer->Opening(grown);
        for (const SystemResult& system : listing.Systems) {
            grown.Systems.push_back(system);
            written += writer->SystemDone(grown);
        }
        const std::string closing = writer->Closing(grown);
        if (plugin) {
            CHECK((written + closing).size() <= 4095);
            CHECK(closing.find("... and ") != std::string::npos);
        } else {
            const std::size_t text = closing.find("<Text>") + 6;
            CHECK(closing.find("</Text>") - text <= 2000);
            CHECK(closing.substr(closing.size() - 10) == "\n</Prtg>\n\n");
        }
    }
}
