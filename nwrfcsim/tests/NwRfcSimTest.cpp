// Drives nwrfcsim through its exported functions, the way the adapter loads
// it, on the paths the end-to-end chain does not reach: logon refusals, the
// codes of forced outcomes, field access errors, null error records.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#define DOCTEST_CONFIG_NO_MULTITHREADING   // one thread; also builds with win32-thread toolchains
#include "doctest.h"

#include "NwRfcInterface.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "LibraryUnderTest.h"

using namespace nw;
using Uc = std::basic_string<SAP_UC>;

namespace {

#define NW(name) LibraryFunction<name##_t>(NWRFCSIM_LIBRARY, #name)

Uc U(const std::string& text) { return Uc(text.begin(), text.end()); }

std::string Narrow(const SAP_UC* text)
{
    std::string out;
    for (; *text != 0; ++text) out.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
    return out;
}

void UseScenario(const std::string& text)
{
    static const std::filesystem::path path = std::filesystem::temp_directory_path() / "nwrfcsim_test.scenario";
    std::ofstream(path, std::ios::binary) << text;
    SetVariable("RFCSIM_SCENARIO", path.string());
}

const char kScenario[] = R"(
[system PRD]
host = SapPrd
client = 100
user = MONITOR
password = secret
rows.TS_CHECK = 2

[system QAS]
host = sapqas
unreachable = yes

[system DEV]
host = sapdev
outcome.GET_CPU_ALL = 1
outcome.GET_CPU_ALL.trace = ERROR       collector down
outcome.GET_CPU_ALL.trace = second line
outcome.RFC_SYSTEM_INFO = 2 NOT_AUTHORIZED
outcome.RFC_SYSTEM_INFO.at = call

[system T3]
host = t3
outcome.GET_CPU_ALL = 3

[system T4]
host = t4
outcome.GET_CPU_ALL = 4 NO_AUTHORITY

[system T7]
host = t7
outcome.GET_CPU_ALL = 7

[system T40]
host = t40
outcome.GET_CPU_ALL = 40 BEYOND
)";

struct Logon {
    std::vector<std::pair<Uc, Uc>> texts;
    RFC_CONNECTION_HANDLE Open(RFC_ERROR_INFO* info)
    {
        std::vector<RFC_CONNECTION_PARAMETER> list;
        for (const auto& [name, value] : texts) list.push_back({name.c_str(), value.c_str()});
        return NW(RfcOpenConnection)(list.data(), static_cast<unsigned>(list.size()), info);
    }
};

Logon Parameters(std::initializer_list<std::pair<const char*, const char*>> pairs)
{
    Logon logon;
    for (auto [name, value] : pairs) logon.texts.emplace_back(U(name), U(value));
    return logon;
}

RFC_CONNECTION_HANDLE OpenHost(const char* host)
{
    RFC_ERROR_INFO info;
    return Parameters({{"ashost", host}, {"sysnr", "00"}}).Open(&info);
}

}  // namespace

TEST_CASE("logon outcomes")
{
    UseScenario(kScenario);
    struct Case {
        const char* what;
        Logon logon;
        RFC_RC code;   // RFC_OK: a connection
        RFC_ERROR_GROUP group;
        const char* message_start;
    };
    const Case cases[] = {
        {"host in any letter case, names in any case",
         Parameters({{"ASHOST", "sapprd"}, {"SysNr", "07"}, {"client", "100"}, {"user", "MONITOR"}, {"passwd", "secret"}}),
         RFC_OK, OK, ""},
        {"a padded password is another password",
         Parameters({{"ashost", "sapprd"}, {"sysnr", "07"}, {"client", "100"}, {"user", "MONITOR"}, {"passwd", "secret    "}}),
         RFC_LOGON_FAILURE, LOGON_FAILURE, "Name or password is incorrect (repeat logon)"},
        {"another client", Parameters({{"ashost", "sapprd"}, {"sysnr", "07"}, {"client", "200"}}), RFC_LOGON_FAILURE,
         LOGON_FAILURE, "Client 200 is not available in this system"},
        {"unreachable", Parameters({{"ashost", "sapqas"}, {"sysnr", "01"}}), RFC_COMMUNICATION_FAILURE,
         COMMUNICATION_FAILURE, "\nLOCATION    CPIC (TCP/IP) on local host with Unicode\nERROR       partner 'sapqas:3301' not reached"},
        {"an unknown host", Parameters({{"ashost", "nohost"}, {"sysnr", "00"}}), RFC_COMMUNICATION_FAILURE,
         COMMUNICATION_FAILURE, "\nLOCATION"},
        {"no host", Parameters({{"client", "100"}}), RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE,
         "Parameter ASHOST, GWHOST, MSHOST or PORT is missing."},
        {"dest", Parameters({{"dest", "PRD"}}), RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, "Parameter DEST=PRD"},
        {"a system number of one digit", Parameters({{"ashost", "sapprd"}, {"sysnr", "7"}}), RFC_INVALID_PARAMETER,
         EXTERNAL_RUNTIME_FAILURE, "Parameter SYSNR '7'"},
        {"a parameter twice", Parameters({{"ashost", "a"}, {"ASHOST", "b"}}), RFC_INVALID_PARAMETER,
         EXTERNAL_RUNTIME_FAILURE, "Parameter ASHOST is given twice"},
        {"message server by system name", Parameters({{"mshost", "ms"}, {"r3name", "prd"}, {"client", "100"},
                                                      {"user", "MONITOR"}, {"passwd", "secret"}}),
         RFC_OK, OK, ""},
        {"message server without a system", Parameters({{"mshost", "ms"}}), RFC_INVALID_PARAMETER,
         EXTERNAL_RUNTIME_FAILURE, "Parameter SYSID or R3NAME is missing."},
        {"a gateway host alone", Parameters({{"gwhost", "sapdev"}, {"sysnr", "00"}}), RFC_OK, OK, ""},
    };
    for (Case c : cases) {
        CAPTURE(std::string(c.what));
        RFC_ERROR_INFO info;
        RFC_CONNECTION_HANDLE handle = c.logon.Open(&info);
        CHECK((handle != nullptr) == (c.code == RFC_OK));
        CHECK(info.code == c.code);
        CHECK(info.group == c.group);
        CHECK(Narrow(info.message).rfind(c.message_start, 0) == 0);
        if (handle != nullptr) CHECK(NW(RfcCloseConnection)(handle, nullptr) == RFC_OK);
    }
    CHECK(Parameters({{"ashost", "nohost"}, {"sysnr", "00"}}).Open(nullptr) == nullptr);   // no error record
}

TEST_CASE("forced outcomes as NetWeaver codes")
{
    UseScenario(kScenario);
    struct Case {
        const char* host;
        RFC_RC code;
        RFC_ERROR_GROUP group;
        const char* key;
        const char* message;
        bool closes;
    };
    const Case cases[] = {
        {"sapdev", RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE, "RFC_COMMUNICATION_FAILURE",
         "ERROR       collector down\nsecond line", true},
        {"t3", RFC_ABAP_RUNTIME_FAILURE, ABAP_RUNTIME_FAILURE, "SYSTEM_FAILURE", "", true},
        {"t4", RFC_ABAP_MESSAGE, ABAP_RUNTIME_FAILURE, "NO_AUTHORITY", "", true},
        {"t7", RFC_CANCELED, EXTERNAL_RUNTIME_FAILURE, "RFC_CANCELED", "", false},
        {"t40", static_cast<RFC_RC>(40), EXTERNAL_RUNTIME_FAILURE, "BEYOND", "", false},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.host));
        RFC_CONNECTION_HANDLE connection = OpenHost(c.host);
        REQUIRE(connection != nullptr);
        RFC_ERROR_INFO info;
        RFC_FUNCTION_DESC_HANDLE desc = NW(RfcGetFunctionDesc)(connection, U("GET_CPU_ALL").c_str(), &info);
        REQUIRE(desc != nullptr);
        RFC_FUNCTION_HANDLE function = NW(RfcCreateFunction)(desc, nullptr);
        REQUIRE(function != nullptr);
        REQUIRE(NW(RfcSetChars)(function, U("LOCAL_REMOTE").c_str(), U("LOCAL").c_str(), 5, nullptr) == RFC_OK);
        CHECK(NW(RfcInvoke)(connection, function, &info) == c.code);
        CHECK(info.code == c.code);
        CHECK(info.group == c.group);
        CHECK(Narrow(info.key) == c.key);
        CHECK(Narrow(info.message) == c.message);
        if (c.code == RFC_ABAP_MESSAGE) {
            CHECK(Narrow(info.abapMsgClass) == "00");
            CHECK(Narrow(info.abapMsgNumber) == "001");
            CHECK(Narrow(info.abapMsgV1) == "NO_AUTHORITY");
        }
        CHECK((NW(RfcInvoke)(connection, function, nullptr) == RFC_INVALID_HANDLE) == c.closes);
        CHECK(NW(RfcDestroyFunction)(function, nullptr) == RFC_OK);
        CHECK(NW(RfcCloseConnection)(connection, nullptr) == RFC_OK);   // a closed connection too
        CHECK(NW(RfcCloseConnection)(connection, nullptr) == RFC_INVALID_HANDLE);
    }

    RFC_CONNECTION_HANDLE connection = OpenHost("sapdev");
    RFC_ERROR_INFO info;
    CHECK(NW(RfcGetFunctionDesc)(connection, U("RFC_SYSTEM_INFO").c_str(), &info) == nullptr);   // .at = call
    CHECK(info.code == RFC_ABAP_EXCEPTION);
    CHECK(Narrow(info.key) == "NOT_AUTHORIZED");
    CHECK(NW(RfcGetFunctionDesc)(connection, U("RFC_PING").c_str(), &info) == nullptr);
    CHECK(Narrow(info.key) == "FU_NOT_FOUND");
    CHECK(Narrow(info.message) == "ID:FL Type:E Number:046 RFC_PING");
    NW(RfcCloseConnection)(connection, nullptr);
}

TEST_CASE("fields, tables and rows")
{
    UseScenario(kScenario);
    RFC_CONNECTION_HANDLE connection =
        Parameters({{"ashost", "sapprd"}, {"sysnr", "00"}, {"client", "100"}, {"user", "MONITOR"}, {"passwd", "secret"}})
            .Open(nullptr);
    REQUIRE(connection != nullptr);
    RFC_FUNCTION_HANDLE function = NW(RfcCreateFunction)(
        NW(RfcGetFunctionDesc)(connection, U("DB02_ORA_FILL_TS_CHECK__CRITOB").c_str(), nullptr), nullptr);
    REQUIRE(function != nullptr);
    RFC_ERROR_INFO info;
    CHECK(NW(RfcSetChars)(function, U("FLAG_REFRESH").c_str(), U("XY").c_str(), 2, &info) == RFC_CONVERSION_FAILURE);
    CHECK(NW(RfcSetChars)(function, U("NO_SUCH").c_str(), U("X").c_str(), 1, &info) == RFC_INVALID_PARAMETER);
    CHECK(Narrow(info.message) == "field 'NO_SUCH' not found");
    REQUIRE(NW(RfcInvoke)(connection, function, nullptr) == RFC_OK);

    RFC_TABLE_HANDLE table = nullptr;
    REQUIRE(NW(RfcGetTable)(function, U("TS_CHECK").c_str(), &table, nullptr) == RFC_OK);
    unsigned rows = 0;
    CHECK(NW(RfcGetRowCount)(table, &rows, nullptr) == RFC_OK);
    CHECK(rows == 2);
    CHECK(NW(RfcGetCurrentRow)(table, &info) == nullptr);   // before any move
    CHECK(NW(RfcMoveTo)(table, 2, &info) == RFC_TABLE_MOVE_EOF);
    REQUIRE(NW(RfcMoveTo)(table, 1, nullptr) == RFC_OK);
    RFC_STRUCTURE_HANDLE row = NW(RfcGetCurrentRow)(table, nullptr);
    REQUIRE(row != nullptr);

    SAP_UC text[40];
    CHECK(NW(RfcGetChars)(row, U("TS").c_str(), text, 30, nullptr) == RFC_OK);
    CHECK(Uc(text, 30) == U("TS_2") + Uc(26, ' '));
    CHECK(NW(RfcGetChars)(row, U("TS").c_str(), text, 4, &info) == RFC_BUFFER_TOO_SMALL);
    CHECK(NW(RfcGetChars)(row, U("MAXBLKFREE").c_str(), text, 6, nullptr) == RFC_OK);   // a number as text
    CHECK(Uc(text, 6) == U("2     "));
    RFC_INT number = 0;
    CHECK(NW(RfcGetInt)(table, U("CRITICALS3").c_str(), &number, nullptr) == RFC_OK);   // the current row
    CHECK(number == 2);
    RFC_INT2 small = 0;
    CHECK(NW(RfcGetInt2)(row, U("TS").c_str(), &small, &info) == RFC_CONVERSION_FAILURE);
    SAP_UC date[8];
    CHECK(NW(RfcGetDate)(function, U("CURR_TIME").c_str(), date, &info) == RFC_CONVERSION_FAILURE);

    RFC_STRUCTURE_HANDLE numbers = nullptr;
    CHECK(NW(RfcGetStructure)(function, U("NR_CRIT_OBJ").c_str(), &numbers, nullptr) == RFC_OK);
    CHECK(NW(RfcGetInt)(numbers, U("NR_TS").c_str(), &number, nullptr) == RFC_OK);
    CHECK(NW(RfcGetStructure)(function, U("CRITOBJ").c_str(), &numbers, &info) == RFC_CONVERSION_FAILURE);

    CHECK(NW(RfcDestroyFunction)(function, nullptr) == RFC_OK);
    CHECK(NW(RfcGetRowCount)(table, &rows, &info) == RFC_INVALID_HANDLE);   // freed with the function
    CHECK(NW(RfcGetChars)(row, U("TS").c_str(), text, 30, &info) == RFC_INVALID_HANDLE);
    CHECK(NW(RfcCloseConnection)(connection, nullptr) == RFC_OK);
}
