// PRTG's documents, XML and text, as the writers make them from reports,
// compared as whole byte strings; console line helpers.
#include <doctest/doctest.h>

#include <memory>
#include <string>

#include "config/RunSettings.h"
#include "output/Console.h"
#include "output/PrtgDocument.h"
#include "output/PrtgXmlWriter.h"
#include "output/ReportWriter.h"

namespace {

RunSettingsRecord SettingsOf(const std::string& flavour, const std::string& options = "") {
    RunSettingsRecord settings;
    REQUIRE(FindHostFormat(flavour, settings.HostFlavour));
    settings.ParameterTextAsGiven = options;
    settings.ParameterText = UpperAscii(options);
    return settings;
}

SystemResult Measured(const std::string& label, const std::string& destination, ChannelValues values) {
    return SystemResult{label + ".P00", label, destination, true, values, "", {}};
}

SystemResult Failed(const std::string& label, const std::string& failure) {
    return SystemResult{label + ".P00", label, "", false, {}, failure, {}};
}

RunReport SingleReport(const SystemResult& system) {
    RunReport report;
    report.Subject = system.Label;
    report.Systems.push_back(system);
    return report;
}

// A listing's whole streamed document: the opening, each system as it is done, the closing.
std::string StreamedListing(ReportWriter& writer, const std::string& item, const std::vector<SystemResult>& systems) {
    RunReport report;
    report.MultiSystem = true;
    report.Item = item;
    std::string written = writer.Opening(report);
    for (const SystemResult& system : systems) {
        ++report.NoSystems;
        report.Systems.push_back(system);
        ++(system.Measured ? report.Processed : report.Failed);
        written += writer.SystemDone(report);
    }
    return written + writer.Closing(report);
}

}  // namespace

TEST_CASE("single-system document in every PRTG flavour") {
    const std::string xml =
        "\n<Prtg>\n"
        "\n<Text>(PRD) Oracle: Critical_Spaces=3, Critical_Objects=1.234</Text>\n"
        "\n<Result><Channel>Critical_Spaces</Channel>\n<Value>3</Value></Result>\n"
        "\n<Result><Channel>Critical_Objects</Channel>\n<Value>1234</Value></Result>\n"
        "\n<Result><Channel>Critical_TableSpc</Channel>\n<Value>-2</Value></Result>\n"
        "\n<Result><Channel>Critical_Tables</Channel>\n<Value>0</Value></Result>\n"
        "\n<Result><Channel>Critical_Indexes</Channel>\n<Value>5</Value></Result>\n"
        "\n</Prtg>\n";
    struct Case {
        const char* flavour;
        const char* options;
        std::string expected;
    };
    const Case cases[] = {
        {"EXEXML", "", xml},
        {"Bramble", "", xml},
        {"Kestrel", "", xml},
        {"Pinewood", "",
         "\n# (PRD) Oracle: Critical_Spaces=3, Critical_Objects=1.234"
         "\n\nMessage.Critical_Spaces: Critical_Spaces (#)\nStatistic.Critical_Spaces: 3"
         "\n\nMessage.Critical_Objects: Critical_Objects (#)\nStatistic.Critical_Objects: 1234"
         "\n\nMessage.Critical_TableSpc: Critical_TableSpc (#)\nStatistic.Critical_TableSpc: -2"
         "\n\nMessage.Critical_Tables: Critical_Tables (#)\nStatistic.Critical_Tables: 0"
         "\n\nMessage.Critical_Indexes: Critical_Indexes (#)\nStatistic.Critical_Indexes: 5"
         "\n"},
        {"Juniper", "",
         "\n# (PRD) Oracle: Critical_Spaces=3, Critical_Objects=1.234"
         "\n> Critical_Spaces: 3 #\n> Critical_Objects: 1234 #\n> Critical_TableSpc: -2 #"
         "\n> Critical_Tables: 0 #\n> Critical_Indexes: 5 #\n"},
        {"Juniper", "ch=2", "1234\n"},
        {"Juniper", "CH=1,2", "3\n"},
        {"Juniper", "CH= 5", "5\n"},
        {"Juniper", "CH=9", "\n"},
        {"Juniper", "CH=x", "\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.flavour);
        CAPTURE(c.options);
        const RunSettingsRecord settings = SettingsOf(c.flavour, c.options);
        const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
        CHECK(writer->Closing(SingleReport(Measured("PRD", "PRD", {3, 1234, -2, 0, 5}))) == c.expected);
        CHECK(writer->ExitCode(0) == 0);
        CHECK(writer->LostOutputExitCode() == 2);
    }
}

TEST_CASE("a listing streamed in every PRTG flavour") {
    const std::vector<SystemResult> systems = {Measured("PRD", "PRD", {3, 7, 2, 4, 3}),
                                               Failed("QAS", "Error 1011: RFC-Open for QAS failed !"),
                                               Measured("R&D", "DEV", {1, 12, -1, 9, 3})};
    struct Case {
        const char* flavour;
        const char* options;
        const char* item;
        std::string expected;
    };
    const Case cases[] = {
        {"EXEXML", "", "Critical_Objects",
         "\n<Prtg>\n\n"
         "\n<Result><Channel>PRD</Channel>\n<Value>7</Value></Result>\n"
         "\n<Result><Channel>R&amp;D</Channel>\n<Value>12</Value></Result>\n"
         "\n<Text>(***) Critical_Objects: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>\n\n"},
        // An item that names no channel: the systems are counted, no channel is written.
        {"Kestrel", "", "Nothing",
         "\n<Prtg>\n\n\n<Text>(***) Nothing: NoSystems=3, Processed=2, Failed=1</Text>\n\n</Prtg>\n\n"},
        {"Pinewood", "", "Critical_Spaces",
         "\n\n\nMessage.PRD: PRD (#)\nStatistic.PRD: 3\n\nMessage.R&D: R&D (#)\nStatistic.R&D: 1"
         "\n# (***) Critical_Spaces: NoSystems=3, Processed=2, Failed=1\n\n"},
        {"Juniper", "", "Critical_Indexes",
         "\n\n> PRD: 3 #\n> R&D: 3 #\n# (***) Critical_Indexes: NoSystems=3, Processed=2, Failed=1\n\n"},
        // CH= counts the channels across the systems: the second measured one.
        {"Juniper", "CH=2", "Critical_Tables", "\n9\n\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.flavour);
        const RunSettingsRecord settings = SettingsOf(c.flavour, c.options);
        const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
        CHECK(StreamedListing(*writer, c.item, systems) == c.expected);
    }
}

TEST_CASE("the error document: the same XML frame in every PRTG flavour, the text cut to 127 characters") {
    const std::string mismatch = "<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n";
    struct Case {
        const char* flavour;
        bool streamed;  // after a listing's opening
        std::string expected;
    };
    const Case cases[] = {
        {"EXEXML", false, "<Prtg>\n" + mismatch}, {"Kestrel", false, "<Prtg>\n" + mismatch},
        {"Bramble", false, "<Prtg>\n" + mismatch}, {"Pinewood", false, "<Prtg>\n" + mismatch},
        {"Juniper", false, "<Prtg>\n" + mismatch},
        // After the opening of an XML document, the error document closes it.
        {"EXEXML", true, mismatch},               {"Bramble", true, mismatch},
        {"Pinewood", true, "<Prtg>\n" + mismatch}, {"Juniper", true, "<Prtg>\n" + mismatch},
    };
    for (const Case& c : cases) {
        CAPTURE(c.flavour);
        CAPTURE(c.streamed);
        const RunSettingsRecord settings = SettingsOf(c.flavour);
        const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
        RunReport report;
        report.MultiSystem = c.streamed;
        if (c.streamed) writer->Opening(report);
        CHECK(writer->Error(report, "Error 1018: DataBase mismatch !") == c.expected);
        CHECK(writer->ExitCode(2) == 2);
    }
    const RunSettingsRecord settings = SettingsOf("EXEXML");
    const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
    CHECK(writer->Error(RunReport{}, "") == "<Prtg>\n<Error>1</Error>\n<Text></Text>\n</Prtg>\n");
    CHECK(writer->Error(RunReport{}, std::string(200, 'x')) ==
          "<Prtg>\n<Error>1</Error>\n<Text>" + std::string(127, 'x') + "</Text>\n</Prtg>\n");
    // Cut first, then escaped.
    CHECK(writer->Error(RunReport{}, std::string(126, 'e') + "<&") ==
          "<Prtg>\n<Error>1</Error>\n<Text>" + std::string(126, 'e') + "&lt;</Text>\n</Prtg>\n");
}

TEST_CASE("markup and control characters in PRTG's XML") {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("a\x01" "b\x1f" "c", 5), "a b c"},
        {"ERROR\x07 bell\x1b[0m", "ERROR  bell [0m"},
        {"tab\there\r\nline", "tab\there\r\nline"},
        {"\x7f\xe4 stay", "\x7f\xe4 stay"},
        {std::string("NUL\0in a hint", 13), "NUL in a hint"},
        {"R&D <1>", "R&amp;D &lt;1&gt;"},
    };
    for (const auto& [text, expected] : cases) {
        CAPTURE(text);
        CHECK(EscapeMarkup(text) == expected);
        CHECK(PrtgErrorDocument(text, false) == "<Prtg>\n<Error>1</Error>\n<Text>" + expected + "</Text>\n</Prtg>\n");
    }
    const RunSettingsRecord settings = SettingsOf("EXEXML");
    const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
    CHECK(writer->Closing(SingleReport(Measured("A&B", "A&B", {1, 2, 3, 4, 5}))).rfind(
              "\n<Prtg>\n\n<Text>(A&amp;B) Oracle: Critical_Spaces=1, Critical_Objects=2</Text>\n", 0) == 0);
}

TEST_CASE("channels: units, markup and the room of their texts") {
    struct Case {
        std::string name;
        const char* unit;
        std::string expected;
    };
    const Case cases[] = {
        {"Load", "PerCent",
         "\n<Result><Channel>Load</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>PerCent</CustomUnit>\n<Value>7</Value></Result>\n"},
        {"a", "m&s",
         "\n<Result><Channel>a</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>m&amp;s</CustomUnit>\n<Value>7</Value></Result>\n"},
        // Cut to 123 characters, then escaped: the "&" that is the 123rd character is written whole.
        {std::string(122, 'n') + "&&&", "",
         "\n<Result><Channel>" + std::string(122, 'n') + "&amp;</Channel>\n<Value>7</Value></Result>\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        CHECK(PrtgXmlChannel(c.name, "7", c.unit) == c.expected);
    }
    const std::pair<const char*, const char*> units[] = {
        {"", "#"}, {"PerCent", "%"}, {"TimeResponse", "mSec"}, {"Bytes", "Bytes"}};
    for (const auto& [unit, shown] : units) CHECK(ShownUnit(unit) == shown);
    const std::pair<const char*, const char*> keys[] = {
        {"Disk (C:) - 1.0.2", "Disk__C_____1_0.2"}, {"a/b\\c[d]e*f", "a_b_c_d_e_f"}, {"PRD host:1", "PRD_host_1"}};
    for (const auto& [name, key] : keys) CHECK(MakeChannelKey(name) == key);

    // Juniper's channel names are held to 123 characters.
    const RunSettingsRecord settings = SettingsOf("Juniper");
    const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
    CHECK(StreamedListing(*writer, "Critical_Spaces", {Measured(std::string(200, 'n'), "X", {1, 0, 0, 0, 0})})
              .rfind("\n\n> " + std::string(123, 'n') + ": 1 #\n", 0) == 0);
}

TEST_CASE("Pinewood carries ten channels; Juniper's CH= counts across the run") {
    std::vector<SystemResult> twelve;
    for (int i = 1; i <= 12; ++i) twelve.push_back(Measured("C" + std::to_string(i), "X", {i, 0, 0, 0, 0}));
    {
        const RunSettingsRecord settings = SettingsOf("Pinewood");
        const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
        const std::string document = StreamedListing(*writer, "Critical_Spaces", twelve);
        CHECK(document.find("Statistic.C10: 10") != std::string::npos);
        CHECK(document.find("C11") == std::string::npos);
    }
    const std::pair<const char*, const char*> cases[] = {
        {"CH=11", "\n11\n\n"}, {"CH=12345", "\n\n\n"}, {"CH=1,2", "\n1\n\n"}, {"CH= 3", "\n3\n\n"}, {"CH=-1", "\n\n\n"}};
    for (const auto& [options, expected] : cases) {
        CAPTURE(options);
        const RunSettingsRecord settings = SettingsOf("Juniper", options);
        const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
        CHECK(StreamedListing(*writer, "Critical_Spaces", twelve) == expected);
    }
}

TEST_CASE("the document never grows past its room; near it an entity is appended whole or not at all") {
    DocumentBuffer plain(false);
    for (int i = 0; i < 100; ++i) plain.Append(std::string(100, 'a'));
    CHECK(plain.Text().size() == ResultDocumentRoom);

    DocumentBuffer xml(true);
    xml.Append(std::string(ResultDocumentRoom - 3, 'a'));
    xml.AppendText("b&c");
    CHECK(xml.Text() == std::string(ResultDocumentRoom - 3, 'a') + "b");
    xml.AppendText("cd");
    CHECK(xml.Text().size() == ResultDocumentRoom);
}

TEST_CASE("GroupDigits") {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},           {"7", "7"},                 {"999", "999"},
        {"1000", "1.000"},  {"123456", "123.456"},      {"1234567", "1.234.567"},
        {"1234567890", "1234.567.890"}, {"12345678901", "12345.678.901"},
    };
    for (const auto& [input, expected] : cases) {
        std::string digits = input;
        GroupDigits(digits);
        CHECK(digits == expected);
    }
}

TEST_CASE("aligned key and value lines") {
    CHECK(FieldLine("key", 0, 15, "X") == "key" + std::string(12, ' ') + " : X\n");
    CHECK(FieldLine("internal status", 0, 15, "") == "internal status : \n");
    CHECK(FieldLine("operation/code", 4, 15, "ItCreate TF_CPU_ALL") == "    operation/code  : ItCreate TF_CPU_ALL\n");
    CHECK(FieldLine("a much longer key here", 0, 15, "v") == "a much longer key here : v\n");
}
