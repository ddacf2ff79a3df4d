// Failures in words: codes, the texts of RfcLastError and the trace lines
// the sensor's trace hint reads.
#include "doctest.h"

#include "Errors.h"

using namespace nwrfc;

TEST_CASE("classic return codes of NetWeaver ones")
{
    const std::pair<int, int> codes[] = {
        {0, 0}, {5, 2}, {3, 3}, {4, 3}, {1, 1}, {2, 1}, {13, 1}, {27, 1}, {29, 1}, {33, 1}, {40, 1}, {-1, 1},
    };
    for (auto [nw, classic] : codes) {
        CAPTURE(nw);
        CHECK(ClassicCode(nw) == classic);
    }
}

TEST_CASE("trace lines of a message")
{
    struct Case {
        const char* what;
        std::string message;
        std::vector<std::string> lines;
    };
    const std::string block =
        "\nLOCATION    CPIC (TCP/IP) on local host with Unicode\n"
        "ERROR       partner 'sapprd:3307' not reached\n"
        "TIME        Mon Jan 01 12:00:00 2024\n"
        "COUNTER     1";
    const Case cases[] = {
        {"one line", "Name or password is incorrect (repeat logon)",
         {"ERROR       Name or password is incorrect (repeat logon)"}},
        {"several lines, CR LF and blank lines", "first\r\n\r\n  \nsecond\n", {"ERROR       first", "ERROR       second"}},
        {"SAP's block keeps its layout",
         block,
         {"LOCATION    CPIC (TCP/IP) on local host with Unicode", "ERROR       partner 'sapprd:3307' not reached",
          "TIME        Mon Jan 01 12:00:00 2024", "COUNTER     1"}},
        {"ERROR with fewer blanks is a plain line", "ERROR in the collector", {"ERROR       ERROR in the collector"}},
        {"an empty message", "", {}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        CHECK(TraceLines(c.message) == c.lines);
    }
}

TEST_CASE("the texts of RfcLastError, cut to the classic fields")
{
    struct Case {
        const char* what;
        ErrorRecord error;
        const char* key;
        const char* status;
        std::string message;
        const char* intstat;
    };
    const Case cases[] = {
        {"no failure yet", ErrorRecord{}, "", "", "", ""},
        {"a logon failure", ErrorRecord{2, 3, "RFC_LOGON_FAILURE", "Name or password is incorrect (repeat logon)", "", "", ""},
         "RFC_LOGON_FAILURE", "LOGON_FAILURE", "Name or password is incorrect (repeat logon)",
         "RFC_LOGON_FAILURE (2)"},
        {"a block in one line", ErrorRecord{1, 4, "RFC_COMMUNICATION_FAILURE", "\nLOCATION    here   \nERROR       gone", "", "", ""},
         "RFC_COMMUNICATION_FAILURE", "COMMUNICATION_FAILURE", "LOCATION    here ERROR       gone",
         "RFC_COMMUNICATION_FAILURE (1)"},
        {"an ABAP message", ErrorRecord{4, 2, "No authority", "No authority", "SY", "E", "002"}, "No authority",
         "ABAP_RUNTIME_FAILURE", "No authority", "RFC_ABAP_MESSAGE (4), ABAP message SY 002 type E"},
        {"codes and groups beyond the header", ErrorRecord{40, 12, "K", "M", "", "", ""}, "K", "RFC_ERROR_GROUP 12", "M", "RFC_RC 40"},
        {"long texts are cut", ErrorRecord{5, 1, std::string(40, 'k'), std::string(300, 'm'), "", "", ""},
         "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk", "ABAP_APPLICATION_FAILURE", std::string(255, 'm'),
         "RFC_ABAP_EXCEPTION (5)"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        char key[33], status[128], message[256], intstat[128];
        FillClassicRecord(c.error, key, status, message, intstat);
        CHECK(std::string(key) == c.key);
        CHECK(std::string(status) == c.status);
        CHECK(std::string(message) == c.message);
        CHECK(std::string(intstat) == c.intstat);
    }
}
