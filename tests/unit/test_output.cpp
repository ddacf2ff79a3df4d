// Documents, channels and console lines, compared as whole byte strings.
#include <doctest/doctest.h>

#include <string>

#include "config/RunSettings.h"
#include "output/Channel.h"
#include "output/Console.h"
#include "output/ResultDocument.h"

namespace {

struct OutputState {
    OutputState(const std::string& flavour, const std::string& options = "", bool global = false) {
        RunSettings = RunSettingsRecord{};
        REQUIRE(FindHostFormat(flavour, RunSettings.HostFlavour));
        RunSettings.ParameterTextAsGiven = options;
        RunSettings.ParameterText = UpperAscii(options);
        RunSettings.GlobalMode = global;
        ChannelCounter = 0;
        ResultDocument = "left over";
        ForgetDocumentOpening();
    }
    ~OutputState() {
        RunSettings = RunSettingsRecord{};
        ForgetDocumentOpening();
    }
};

// The single-system document as the critical objects check builds it.
std::string SingleSystemDocument() {
    BeginDocument();
    BeginText();
    AppendToDocument("(PRD) Oracle: Critical_Spaces=3, Critical_Objects=1.234");
    EndText();
    WriteChannel("Critical_Spaces", "3", "");
    WriteChannel("Critical_Objects", "1234", "");
    WriteChannel("Critical_TableSpc", "-2", "");
    EndDocument();
    return ResultDocument;
}

}  // namespace

TEST_CASE("single-system document in every host flavour") {
    const std::string xml =
        "\n<Prtg>\n"
        "\n<Text>(PRD) Oracle: Critical_Spaces=3, Critical_Objects=1.234</Text>\n"
        "\n<Result><Channel>Critical_Spaces</Channel>\n<Value>3</Value></Result>\n"
        "\n<Result><Channel>Critical_Objects</Channel>\n<Value>1234</Value></Result>\n"
        "\n<Result><Channel>Critical_TableSpc</Channel>\n<Value>-2</Value></Result>\n"
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
         "\n"},
        {"Juniper", "",
         "\n# (PRD) Oracle: Critical_Spaces=3, Critical_Objects=1.234"
         "\n> Critical_Spaces: 3 #\n> Critical_Objects: 1234 #\n> Critical_TableSpc: -2 #\n"},
        {"Juniper", "ch=2", "1234\n"},
        {"Juniper", "CH=1,2", "3\n"},
        {"Juniper", "CH=9", "\n"},
        {"Juniper", "CH=x", "\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.flavour);
        CAPTURE(c.options);
        OutputState state(c.flavour, c.options);
        CHECK(SingleSystemDocument() == c.expected);
    }
}

TEST_CASE("error document is the same XML frame in every flavour and cuts the text to 127 characters") {
    for (const char* flavour : {"EXEXML", "Pinewood", "Juniper", "Kestrel", "Bramble"}) {
        OutputState state(flavour);
        WriteErrorDocument("Error 1018: DataBase mismatch !");
        CHECK(ResultDocument == "<Prtg>\n<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n");
    }
    OutputState state("EXEXML");
    WriteErrorDocument("");
    CHECK(ResultDocument == "<Prtg>\n<Error>1</Error>\n<Text></Text>\n</Prtg>\n");
    WriteErrorDocument(std::string(200, 'x'));
    CHECK(ResultDocument == "<Prtg>\n<Error>1</Error>\n<Text>" + std::string(127, 'x') + "</Text>\n</Prtg>\n");
}

TEST_CASE("the document never grows past its room") {
    OutputState state("EXEXML");
    EmptyDocument();
    for (int i = 0; i < 100; ++i) AppendToDocument(std::string(100, 'a'));
    CHECK(ResultDocument.size() == ResultDocumentRoom);
}

TEST_CASE("channel units, keys and markup") {
    struct Case {
        const char* flavour;
        std::string name;
        const char* unit;
        std::string expected;
    };
    const Case cases[] = {
        {"EXEXML", "Load", "PerCent",
         "\n<Result><Channel>Load</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>PerCent</CustomUnit>\n<Value>7</Value></Result>\n"},
        {"Pinewood", "Load", "PerCent", "\n\nMessage.Load: Load (%)\nStatistic.Load: 7"},
        {"Pinewood", "Ping", "TimeResponse", "\n\nMessage.Ping: Ping (mSec)\nStatistic.Ping: 7"},
        {"Juniper", "Ping", "Bytes", "\n> Ping: 7 Bytes"},
        {"Pinewood", "Disk (C:) - 1.0.2", "", "\n\nMessage.Disk__C_____1_0.2: Disk (C:) - 1.0.2 (#)\nStatistic.Disk__C_____1_0.2: 7"},
        {"Pinewood", "a/b\\c[d]e*f", "", "\n\nMessage.a_b_c_d_e_f: a/b\\c[d]e*f (#)\nStatistic.a_b_c_d_e_f: 7"},
        // Markup is escaped in the XML documents only, after the text is cut to its room.
        {"EXEXML", "R&D <1>", "", "\n<Result><Channel>R&amp;D &lt;1&gt;</Channel>\n<Value>7</Value></Result>\n"},
        {"Kestrel", "a", "m&s",
         "\n<Result><Channel>a</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>m&amp;s</CustomUnit>\n<Value>7</Value></Result>\n"},
        {"Bramble", std::string(122, 'n') + "&&&", "",  // the "&" that is the 123rd character is written whole
         "\n<Result><Channel>" + std::string(122, 'n') + "&amp;</Channel>\n<Value>7</Value></Result>\n"},
        {"Juniper", "R&D <1>", "", "\n> R&D <1>: 7 #"},
        {"Pinewood", "R&D", "", "\n\nMessage.R&D: R&D (#)\nStatistic.R&D: 7"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        OutputState state(c.flavour);
        EmptyDocument();
        WriteChannel(c.name, "7", c.unit);
        CHECK(ResultDocument == c.expected);
    }
}

TEST_CASE("multi-system Pinewood keys come from the system label") {
    OutputState state("Pinewood", "", true);
    EmptyDocument();
    WriteChannel("PRD host:1", "5", "");
    CHECK(ResultDocument == "\n\nMessage.PRD_host_1: PRD host:1 (#)\nStatistic.PRD_host_1: 5");
}

TEST_CASE("Pinewood carries ten channels; Juniper selects across the run") {
    {
        OutputState state("Pinewood");
        EmptyDocument();
        for (int i = 1; i <= 12; ++i) WriteChannel("C" + std::to_string(i), std::to_string(i), "");
        CHECK(ChannelCounter == 12);
        CHECK(ResultDocument.find("Statistic.C10: 10") != std::string::npos);
        CHECK(ResultDocument.find("C11") == std::string::npos);
    }
    struct Case {
        const char* options;
        const char* expected;
    };
    const Case cases[] = {{"CH=11", "11"}, {"CH=12345", ""}, {"CH=1,2", "1"}, {"CH= 3", "3"}, {"CH=-1", ""}};
    for (const Case& c : cases) {
        CAPTURE(c.options);
        OutputState state("Juniper", c.options);
        EmptyDocument();
        for (int i = 1; i <= 12; ++i) WriteChannel("C", std::to_string(i), "");
        CHECK(ResultDocument == c.expected);
    }
}

TEST_CASE("markup in the text line and the error text is escaped, after the text is cut to its room") {
    OutputState state("EXEXML");
    BeginDocument();
    BeginText();
    AppendTextToDocument("(A&B) Oracle: x<y>");
    EndText();
    CHECK(ResultDocument == "\n<Prtg>\n\n<Text>(A&amp;B) Oracle: x&lt;y&gt;</Text>\n");

    WriteErrorDocument(std::string(126, 'e') + "<&");
    CHECK(ResultDocument == "<Prtg>\n<Error>1</Error>\n<Text>" + std::string(126, 'e') + "&lt;</Text>\n</Prtg>\n");
}

TEST_CASE("control characters, which no XML reader takes, become blanks; tab and line ends stay") {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("a\x01" "b\x1f" "c", 5), "a b c"},
        {"ERROR\x07 bell\x1b[0m", "ERROR  bell [0m"},
        {"tab\there\r\nline", "tab\there\r\nline"},
        {"\x7f\xe4 stay", "\x7f\xe4 stay"},
        {std::string("NUL\0in a hint", 13), "NUL in a hint"},
    };
    for (const auto& [text, expected] : cases) {
        CAPTURE(text);
        CHECK(EscapeMarkup(text) == expected);
        OutputState state("EXEXML");
        WriteErrorDocument(text);
        CHECK(ResultDocument == "<Prtg>\n<Error>1</Error>\n<Text>" + expected + "</Text>\n</Prtg>\n");
    }
}

TEST_CASE("near the document's room an entity is appended whole or not at all") {
    OutputState state("EXEXML");
    EmptyDocument();
    AppendToDocument(std::string(ResultDocumentRoom - 3, 'a'));
    AppendTextToDocument("b&c");
    CHECK(ResultDocument == std::string(ResultDocumentRoom - 3, 'a') + "b");
    AppendTextToDocument("cd");
    CHECK(ResultDocument.size() == ResultDocumentRoom);
}

TEST_CASE("an error after the streamed opening closes the open document in the XML flavours") {
    struct Case {
        const char* flavour;
        std::string expected;
    };
    const Case cases[] = {
        {"EXEXML", "<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n"},
        {"Bramble", "<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n"},
        {"Pinewood", "<Prtg>\n<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n"},
        {"Juniper", "<Prtg>\n<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.flavour);
        OutputState state(c.flavour);
        BeginDocument();
        NoteDocumentOpeningWritten();
        EmptyDocument();
        WriteErrorDocument("Error 1018: DataBase mismatch !");
        CHECK(ResultDocument == c.expected);
    }
}

TEST_CASE("channel texts are held to 123 characters") {
    OutputState state("Juniper");
    EmptyDocument();
    WriteChannel(std::string(200, 'n'), "1", "");
    CHECK(ResultDocument == "\n> " + std::string(123, 'n') + ": 1 #");
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
