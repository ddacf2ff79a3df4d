// Naming the critical rows: EXCLUDE= and NAMES=, the texts that name them
// within a host's room, and their way through a worker's answer.
#include <doctest/doctest.h>

#include <string>

#include "config/CriticalNamesOptions.h"
#include "config/RunSettings.h"
#include "output/CriticalNamesText.h"
#include "run/WorkerMessages.h"

namespace {

CriticalNames Rows(std::size_t tablespaces, std::size_t objects) {
    CriticalNames names;
    for (std::size_t n = 1; n <= tablespaces; ++n)
        names.Tablespaces.push_back(CriticalTablespace{"PSAPTS" + std::to_string(n), {1, 2, 3, 4, 5, 6, 7}});
    for (std::size_t n = 1; n <= objects; ++n)
        names.Objects.push_back(CriticalObject{"OBJ" + std::to_string(n), "TAB", "PSAPSR3", {-1, 0, 0, 0, 0, 9}});
    return names;
}

}  // namespace

TEST_CASE("EXCLUDE= patterns: * for any characters, letter case ignored, the whole name") {
    struct Case {
        const char* pattern;
        const char* name;
        bool excluded;
    };
    const Case cases[] = {
        {"PSAPTEMP", "PSAPTEMP", true},  {"PSAPTEMP", "psaptemp", true}, {"PSAPTEMP", "PSAPTEMP2", false},
        {"PSAP*", "PSAP", true},         {"*TEMP", "PSAPTEMP", true},    {"*TEMP", "PSAPTEMPX", false},
        {"P*S*3", "PSAPSR3", true},      {"P*S*3", "PSAPSR37", false},   {"*", "", true},
        {"**A**", "xAx", true},          {"A*A*A*B", "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", false},
        {"PSAP\xC4*", "psap\xC4X", true},  // bytes beyond ASCII compare as they are
    };
    for (const Case& c : cases) {
        CAPTURE(c.pattern);
        CAPTURE(c.name);
        CHECK(TablespaceExcluded({UpperAscii(c.pattern)}, c.name) == c.excluded);
    }
}

TEST_CASE("EXCLUDE= and NAMES= as the keyword form gives them; anything else refused, never cut") {
    struct Case {
        std::string options;
        std::string excluded;  // joined by "+"
        unsigned limit;
        bool inText;
        std::string error;
    };
    const std::string longPattern(31, 'A');
    const std::string tooLong = "EXCLUDE=" + std::string(127, 'A') + "+" + std::string(128, 'B');
    const Case cases[] = {
        {"", "", 20, false, ""},
        {"EXCLUDE=psaptemp+PSAPU*,CH=2", "PSAPTEMP+PSAPU*", 20, false, ""},
        {"ora1 NAMES=5 EXCLUDE=A", "A", 5, true, ""},
        {"names=1000", "", 1000, true, ""},
        {"NAMES=0", "", 20, false, "Error 1009: Invalid NAMES=0 !"},
        {"NAMES=1001", "", 20, false, "Error 1009: Invalid NAMES=1001 !"},
        {"NAMES=", "", 20, false, "Error 1009: Invalid NAMES= !"},
        {"NAMES=-1", "", 20, false, "Error 1009: Invalid NAMES=-1 !"},
        {"EXCLUDE=", "", 20, false, "Error 1009: Invalid EXCLUDE= !"},
        {"EXCLUDE=A++B", "", 20, false, "Error 1009: Invalid EXCLUDE=A++B !"},
        {"EXCLUDE=A+", "", 20, false, "Error 1009: Invalid EXCLUDE=A+ !"},
        {"EXCLUDE=" + longPattern, "", 20, false, "Error 1009: Invalid EXCLUDE=" + longPattern + " !"},
        {tooLong, "", 20, false, "Error 1009: Invalid " + tooLong.substr(0, 8 + 255) + " !"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.options);
        RunSettingsRecord settings;
        settings.ParameterTextAsGiven = c.options;
        settings.ParameterText = UpperAscii(c.options);
        CHECK(SelectCriticalNames(settings) == c.error);
        if (!c.error.empty()) continue;
        CHECK(ExcludeText(settings.Names.Excluded) == c.excluded);
        CHECK(settings.Names.Limit == c.limit);
        CHECK(settings.Names.InPrtgText == c.inText);
    }
}

TEST_CASE("the note of a text line names what fits and counts the rest; it never passes its room") {
    CriticalNames names = Rows(3, 2);
    names.UnnamedObjects = 5;
    names.Excluded = 1;
    struct Case {
        std::size_t room;
        bool withNames;
        const char* note;
    };
    const Case cases[] = {
        {1000, true,
         "TS: PSAPTS1, PSAPTS2, PSAPTS3; ON (TN, TS): OBJ1 (TAB, PSAPSR3), OBJ2 (TAB, PSAPSR3) and 5 more; "
         "1 row left out (EXCLUDE=)"},
        {1000, false, "1 row left out (EXCLUDE=)"},
        {100, true, "TS: PSAPTS1, PSAPTS2, PSAPTS3; ON (TN, TS): 7 not named; 1 row left out (EXCLUDE=)"},
        {80, true, "TS: PSAPTS1, PSAPTS2 and 1 more; 1 row left out (EXCLUDE=)"},
        {40, true, "1 row left out (EXCLUDE=)"},
        {10, true, ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.room);
        const std::string note = NamesNote(names, c.withNames, c.room, ByteLength);
        CHECK(note == c.note);
        CHECK(note.size() <= c.room);
    }
    CHECK(NamesNote(CriticalNames{}, true, 1000, ByteLength).empty());
}

TEST_CASE("a line per row with SAP's figures; rows beyond the room counted in SAP's order") {
    const CriticalNames names = Rows(2, 1);
    const std::vector<std::string> all = RowLines(names, 4000, 1, ByteLength);
    REQUIRE(all.size() == 3);
    CHECK(all[0] == "TS=PSAPTS1 MAXBLKFREE=1 ANZBLKFREE=2 TOTBLKFREE=3 MAXNEXTEXT=4 CRITICALS1=5 CRITICALS2=6 CRITICALS3=7");
    CHECK(all[2] == "ON=OBJ1 TN=TAB TS=PSAPSR3 MAXBLKFREE=-1 ANZBLKFREE=0 TOTBLKFREE=0 MAXNEXTEXT=0 CRITICALS1=0 CRITICALS2=9");

    for (std::size_t room : {0, 50, 130, 250, 300, 4000}) {
        CAPTURE(room);
        const CriticalNames many = Rows(40, 40);
        std::size_t used = 0;
        for (const std::string& line : RowLines(many, room, 1, ByteLength)) used += line.size() + 1;
        CHECK(used <= room);
    }
    // The first row that does not fit ends the named ones: no later, shorter row jumps the queue.
    CriticalNames uneven;
    uneven.Tablespaces = {{std::string(30, 'L'), {}}, {"S", {}}};
    const std::vector<std::string> cut = RowLines(uneven, 120 + 60, 1, ByteLength);
    REQUIRE(cut.size() == 1);
    CHECK(cut[0] == "and 2 more critical tablespaces");
    CHECK(ShownName("  ") == "(blank)");
    CHECK(ShownName("A\nB\x7f") == "A B ");
}

TEST_CASE("a worker's answer carries the rows whole; counts beyond the limit are refused") {
    WorkerAnswer answer;
    answer.Outcome = WorkerOutcome::Measured;
    answer.Names = Rows(2, 3);
    answer.Names.Tablespaces[0].TS = std::string("A\0:9|\xff", 6);
    answer.Names.Objects[2].Figures = {-2147483647 - 1, 2147483647, 0, 0, 0, 1};
    answer.Names.UnnamedTablespaces = 7;
    answer.Names.UnnamedObjects = 12345678901ULL;
    answer.Names.Excluded = 3;
    WorkerAnswer back;
    REQUIRE(DecodeAnswer(EncodeAnswer(answer), back));
    CHECK(back.Names.Tablespaces[0].TS == answer.Names.Tablespaces[0].TS);
    CHECK(back.Names.Tablespaces[1].Figures == answer.Names.Tablespaces[1].Figures);
    CHECK(back.Names.Objects[2].Figures == answer.Names.Objects[2].Figures);
    CHECK(back.Names.Objects[1].TN == "TAB");
    CHECK(back.Names.UnnamedObjects == 12345678901ULL);
    CHECK(back.Names.Excluded == 3);

    WorkerAnswer tooMany;
    tooMany.Names = Rows(MostNamesLimit + 1, 0);
    CHECK_FALSE(DecodeAnswer(EncodeAnswer(tooMany), back));
}
