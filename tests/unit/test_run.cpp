// Options, display forms, labels and the trace-file hint.
#include <doctest/doctest.h>

#include <cstdio>
#include <string>

#include "ConfigTestFiles.h"
#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "rfc/CallOutcome.h"
#include "rfc/Connection.h"
#include "rfc/RfcErrors.h"
#include "run/MultiSystemRun.h"
#include "run/SingleSystemRun.h"

namespace {

RunSettingsRecord WithOptions(const std::string& options) {
    RunSettingsRecord settings;
    settings.ParameterTextAsGiven = options;
    settings.ParameterText = UpperAscii(options);
    return settings;
}

void WriteTrace(const std::string& content) { REQUIRE(WriteFileBytes(RfcTraceFile, content)); }

}  // namespace

TEST_CASE("option values are read with the case of the command line") {
    struct Case {
        const char* options;
        const char* keyword;
        std::size_t maxLength;
        const char* stop;
        const char* expected;
    };
    const Case cases[] = {
        {"ITEM=Critical_Spaces,CH=1 #", "ITEM=", 90, " ,", "Critical_Spaces"},
        {"item=Critical_Tables", "ITEM=", 90, " ,", "Critical_Tables"},
        {"XITEM=abc def", "ITEM=", 90, " ,", "abc"},
        {"ITEM", "ITEM=", 90, " ,", ""},
        {"CH=12345", "CH=", 3, ",", "123"},
        {"x,host=SapHost,no=07", ",HOST=", std::string::npos, " ,", "SapHost"},
        {"ITEM=", "ITEM=", 90, " ,", ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.options);
        CHECK(WithOptions(c.options).ValueAt(c.keyword, c.maxLength, c.stop) == c.expected);
    }
}

TEST_CASE("upper-casing touches the letters a to z only") {
    CHECK(UpperAscii("abz ÄöAZ09,#") == "ABZ ÄöAZ09,#");
}

TEST_CASE("display form of the options in the executing line") {
    const std::pair<const char*, const char*> cases[] = {
        {"abc#def", "abc"}, {"x@y#z", "x"},          {"#abc", "(No Parameters)"},
        {"(No ", "(No Parameters)"}, {"(Parameters ", "(No Parameters)"}, {"", "(No Parameters)"},
        {"CH=2,SYSLOG", "CH=2,SYSLOG"},
    };
    for (const auto& [options, shown] : cases) CHECK(OptionsDisplayForm(options) == shown);
}

TEST_CASE("system labels by label kind, never empty") {
    struct Case {
        char kind;
        const char* name;
        const char* host;
        const char* destination;
        const char* label;
    };
    const Case cases[] = {
        {'1', "PRD.P00", "saphost", "PRD", "PRD.P00"}, {'2', "PRD.P00", "saphost", "PRD", "PRD"},
        {'3', "PRD.P00", "saphost", "PRD", "saphost"}, {'4', "PRD.P00", "saphost", "PRD", "PRD"},
        // Nothing left of the name, no host, no destination: the profile's name.
        {'2', "abc", "", "", "abc"},                   {'2', "a b", "", "", "a b"},
        {'2', ".P00", "", "", ".P00"},                 {'3', "PRD.P00", "", "PRD", "PRD.P00"},
        {'4', "PRD.P00", "saphost", "", "PRD.P00"},
    };
    for (const Case& c : cases) {
        LogonEntriesRecord entries;
        entries.Hostname = c.host;
        entries.Destination = c.destination;
        CHECK(LabelFor(c.kind, c.name, entries) == c.label);
    }
}

TEST_CASE("system numbers") {
    const std::pair<const char*, int> cases[] = {
        {"00", 0}, {"07", 7}, {"  12x", 12}, {"x1", 0}, {"", 0}, {"99999999999999", 2147483647},
    };
    for (const auto& [text, number] : cases) CHECK(SystemNumberOf(text) == number);
}

TEST_CASE("hint from the RFC trace file") {
    struct Case {
        const char* trace;
        const char* hint;
    };
    const Case cases[] = {
        {"ERROR       partner not reached\r\n", " - partner not reached"},
        {"ERROR       first\nERROR       second\n", " - second"},
        {"ERROR       first\n**** ERROR file closed\n", " - Please Check Trace-File !"},
        {"ERROR short\n", " - Please Check Trace-File !"},
        {"abcdefg======> gateway down\n", " - gateway down"},
        {"ERROR  ======> from the arrow\n", " - from the arrow"},
        {"nothing here\n", " - Please Check Trace-File !"},
        {"", " - Please Check Trace-File !"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.trace);
        WriteTrace(c.trace);
        CHECK(TraceHint() == c.hint);
    }
    // A message longer than a read piece arrives in pieces; the last piece is
    // no "ERROR " line, so the message is the first piece's rest.
    WriteTrace("ERROR       " + std::string(120, 'm') + "\n");
    CHECK(TraceHint() == " - " + std::string(87, 'm'));

    std::remove(RfcTraceFile);
    CHECK(TraceHint() == " - Look for Trace-File");
}

TEST_CASE("outcome texts of the return codes") {
    const std::pair<int, const char*> cases[] = {
        {1, "Error 1014: RFC-Failure raised !"},
        {2, "Error 1012: Exception.: NOT_FOUND"},
        {3, "Error 1013: Sys-Exception raised !"},
        {7, "Error 1015: Other Failure raised !"},
        {-1, "Error 1015: Other Failure raised !"},
    };
    for (const auto& [code, text] : cases) {
        CHECK(RfcOutcomeText(code, "NOT_FOUND") == text);
        const CallOutcome outcome = CallOutcome::Of(code, "NOT_FOUND");
        CHECK_FALSE(outcome.Ok());
        CHECK(outcome.Failure == text);
    }
    CHECK(CallOutcome::Of(0, "NOT_FOUND").Ok());
    CHECK(CallOutcome::Of(0, "NOT_FOUND").Failure.empty());
}
