// From classic logon data to the NetWeaver logon parameters.
#include "doctest.h"

#include "Logon.h"

using namespace nwrfc;

namespace {

std::string Shown(const LogonParameters& parameters)
{
    std::string text;
    for (const LogonParameter& parameter : parameters) text += parameter.name + "=<" + parameter.value + "> ";
    return text;
}

std::string Shown(const LogonEntries& entries)
{
    std::string text;
    for (const auto& [key, value] : entries) text += key + "=<" + value + "> ";
    return text;
}

}  // namespace

TEST_CASE("RfcOpen's application server logon")
{
    ServerLogon logon;
    logon.host = "sapprd";
    logon.sysnr = 7;
    logon.client = "100";
    logon.user = "MONITOR     ";
    logon.password = "secret    ";
    logon.language = "EN";
    logon.gwhost = "sapgw";
    logon.gwserv = "sapgw07";
    LogonParameters parameters;
    std::string problem;
    REQUIRE(ServerLogonParameters(logon, parameters, problem));
    CHECK(Shown(parameters) ==
          "ashost=<sapprd> sysnr=<07> client=<100> user=<MONITOR> passwd=<secret> lang=<EN> gwhost=<sapgw> "
          "gwserv=<sapgw07> ");

    logon.host = logon.gwhost = logon.gwserv = "";
    logon.sysnr = 12;
    logon.trace = 1;
    REQUIRE(ServerLogonParameters(logon, parameters, problem));
    CHECK(Shown(parameters) == "sysnr=<12> client=<100> user=<MONITOR> passwd=<secret> lang=<EN> trace=<1> ");

    for (int sysnr : {-1, 100}) {
        logon.sysnr = sysnr;
        CHECK_FALSE(ServerLogonParameters(logon, parameters, problem));
        CHECK(problem == "system number " + std::to_string(sysnr) + " is not one from 00 to 99");
    }
}

TEST_CASE("connect strings")
{
    struct Case {
        const char* text;
        const char* entries;   // null: refused
        const char* problem;
    };
    const Case cases[] = {
        {"CLIENT=100 USER=MONITOR PASSWD=secret LANG=D DEST=PRD",
         "CLIENT=<100> DEST=<PRD> LANG=<D> PASSWD=<secret> USER=<MONITOR> ", ""},
        {"  client=100\tdest=PRD  ", "CLIENT=<100> DEST=<PRD> ", ""},
        {"PASSWD=\"a b=c \" USER=X", "PASSWD=<a b=c > USER=<X> ", ""},
        {"PASSWD=my  pass word LANG=D", "LANG=<D> PASSWD=<my  pass word> ", ""},
        {"PASSWD=\"\" USER=X USER=Y", "PASSWD=<> USER=<Y> ", ""},
        {"", "", ""},
        {"PASSWD=\"open LANG=D", nullptr, "connect string: the value of PASSWD lacks its closing quote"},
        {"stray CLIENT=100", nullptr, "connect string: 'stray' is no KEY=value"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.text);
        LogonEntries entries;
        std::string problem;
        CHECK(ParseConnectString(c.text, entries, problem) == (c.entries != nullptr));
        if (c.entries != nullptr) CHECK(Shown(entries) == c.entries);
        CHECK(problem == c.problem);
    }
}

TEST_CASE("destinations of SapRfc.ini")
{
    const std::string ini =
        "\xEF\xBB\xBF"
        "* the classic comment\r\n"
        "ASHOST=before any destination\r\n"
        "DEST=QAS\r\n"
        "TYPE=A\r\n"
        "\r\n"
        "# a blank line does not end a destination\r\n"
        "ASHOST=sapqas\r\n"
        "dest = prd \n"
        "  type = A\n"
        "ashost=\"sapprd\"\n"
        "// comment\n"
        "/* comment */\n"
        "; comment\n"
        "a line without an equals sign\n"
        "SYSNR=07\n"
        "SYSNR=08\n"
        "DEST=PRD\n"
        "ASHOST=second PRD section, never read\n";
    struct Case {
        const char* destination;
        const char* entries;   // null: not found
    };
    const Case cases[] = {
        {"PRD", "ASHOST=<sapprd> SYSNR=<08> TYPE=<A> "},
        {"prd", "ASHOST=<sapprd> SYSNR=<08> TYPE=<A> "},
        {"QAS", "ASHOST=<sapqas> TYPE=<A> "},
        {"DEV", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        CAPTURE(c.destination);
        LogonEntries entries;
        CHECK(FindDestination(ini, c.destination, entries) == (c.entries != nullptr));
        if (c.entries != nullptr) CHECK(Shown(entries) == c.entries);
    }
}

TEST_CASE("the logon of a destination")
{
    struct Case {
        const char* what;
        LogonEntries entries;
        const char* parameters;   // null: refused with `problem`
        const char* problem;
        bool r2;
    };
    const Case cases[] = {
        {"TYPE=A",
         {{"DEST", "PRD"}, {"TYPE", "A"}, {"ASHOST", "sapprd"}, {"SYSNR", "7"}, {"GWHOST", "gw"}, {"GWSERV", "sapgw07"},
          {"CLIENT", "100"}, {"USER", "MONITOR"}, {"PASSWD", "secret"}, {"LANG", "D"}},
         "ashost=<sapprd> sysnr=<07> client=<100> user=<MONITOR> passwd=<secret> lang=<D> gwhost=<gw> gwserv=<sapgw07> ",
         "", false},
        {"TYPE=B with R3NAME",
         {{"DEST", "PRD"}, {"TYPE", "b"}, {"MSHOST", "ms"}, {"R3NAME", "PRD"}, {"GROUP", "PUBLIC"}, {"CLIENT", "100"}},
         "mshost=<ms> sysid=<PRD> group=<PUBLIC> client=<100> ", "", false},
        {"TYPE=B takes the destination as system", {{"DEST", "QAS"}, {"TYPE", "B"}, {"MSHOST", "ms"}, {"MSSERV", "3600"}},
         "mshost=<ms> msserv=<3600> sysid=<QAS> ", "", false},
        {"no TYPE, an ASHOST", {{"ASHOST", "h"}, {"SYSNR", "00"}}, "ashost=<h> sysnr=<00> ", "", false},
        {"no TYPE, an MSHOST", {{"MSHOST", "m"}, {"SYSID", "PRD"}}, "mshost=<m> sysid=<PRD> ", "", false},
        {"R/2", {{"DEST", "R2"}, {"TYPE", "R"}}, nullptr,
         "destination R2 is an R/2 destination (TYPE=R), which the SAP NetWeaver RFC library does not offer", true},
        {"no host", {{"DEST", "PRD"}}, nullptr, "destination PRD names no ASHOST and no MSHOST", false},
        {"TYPE=A without ASHOST", {{"TYPE", "A"}, {"SYSNR", "00"}}, nullptr, "the connect string (TYPE=A) names no ASHOST",
         false},
        {"a SYSNR of three digits", {{"DEST", "PRD"}, {"ASHOST", "h"}, {"SYSNR", "100"}}, nullptr,
         "destination PRD (TYPE=A) has SYSNR '100', not a number from 00 to 99", false},
        {"no SYSNR", {{"DEST", "PRD"}, {"ASHOST", "h"}}, nullptr,
         "destination PRD (TYPE=A) has SYSNR '', not a number from 00 to 99", false},
        {"TYPE=B without MSHOST", {{"TYPE", "B"}}, nullptr, "the connect string (TYPE=B) names no MSHOST", false},
        {"TYPE=B without a system", {{"TYPE", "B"}, {"MSHOST", "m"}}, nullptr, "the connect string (TYPE=B) names no R3NAME",
         false},
        {"another TYPE", {{"DEST", "X"}, {"TYPE", "E"}}, nullptr,
         "destination X has TYPE=E; only TYPE=A and TYPE=B are supported", false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        LogonParameters parameters;
        std::string problem;
        bool r2 = false;
        CHECK(DestinationLogonParameters(c.entries, parameters, problem, r2) == (c.parameters != nullptr));
        if (c.parameters != nullptr) CHECK(Shown(parameters) == c.parameters);
        CHECK(problem == c.problem);
        CHECK(r2 == c.r2);
    }
}
