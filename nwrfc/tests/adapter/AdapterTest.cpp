// Drives the adapter through its twelve operations, loaded as the sensor
// loads it, with nwrfcsim behind it: the argument checks of the classic side
// and the texts RfcLastError gives, which the sensor's documents do not show.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#define DOCTEST_CONFIG_NO_MULTITHREADING   // one thread; also builds with win32-thread toolchains
#include "doctest.h"

#include "RfcInterface.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "LibraryUnderTest.h"

namespace {

#define OP(name) LibraryFunction<name##_t>(ADAPTER_LIBRARY, #name)

struct LastError {
    std::string key, status, message, intstat;
};

LastError Last()
{
    RFC_ERROR_INFO info;
    std::memset(&info, 'x', sizeof info);   // every field must come back terminated
    REQUIRE(OP(RfcLastError)(&info) == 0);
    return LastError{info.key, info.status, info.message, info.intstat};
}

char* Text(const char* text) { return const_cast<char*>(text); }

// A scenario with PRD, whose RFC_SYSTEM_INFO raises NOT_AUTHORIZED.
RFC_HANDLE OpenPrd()
{
    static const std::filesystem::path scenario = std::filesystem::temp_directory_path() / "nwrfc_adapter_test.scenario";
    std::ofstream(scenario, std::ios::binary) << "[system PRD]\nhost = sapprd\noutcome.RFC_SYSTEM_INFO = 2 NOT_AUTHORIZED\n";
    SetVariable("RFCSIM_SCENARIO", scenario.string());
    SetVariable("SPACEWARDEN_NWRFC_LIBRARY", NWRFCSIM_LIBRARY);
    static RFC_CONNOPT_R3 server{Text("sapprd"), 0, nullptr, nullptr};
    static RFC_OPTIONS options{Text("PRD"), 0, &server, Text("100"), Text("U"), Text("P"), Text("EN"), 0};
    return OP(RfcOpen)(&options);
}

RFC_TYPEHANDLE InstallCpuAll(unsigned int_length = 4)
{
    RFC_TYPE_ELEMENT fields[13] = {{Text("TYPE"), 9, 2, 0, 0}, {Text("SUBTYPE"), 9, 2, 0, 0}, {Text("SERIALNR"), 9, 2, 0, 0}};
    const char* names[] = {"NBR_CPU", "LOAD1_AVG", "LOAD5_AVG", "LOAD15_AVG", "INT_SEC",  "SYSC_SEC",
                           "CS_SEC",  "USR_TOTAL", "SYS_TOTAL", "IDLE_TOTAL"};
    for (int i = 0; i < 10; ++i) fields[3 + i] = RFC_TYPE_ELEMENT{Text(names[i]), 8, int_length, 0, 0};
    RFC_TYPEHANDLE handle = 0;
    OP(RfcInstallStructure)(Text("CPU_ALL"), fields, 13, &handle);
    return handle;
}

}  // namespace

// First of all: once SAP's library is loaded, the adapter keeps it.
TEST_CASE("without SAP's library the opening fails as a fault of the set-up, keyed for the sensor")
{
    SetVariable("SPACEWARDEN_NWRFC_LIBRARY", "no_such_sapnwrfc_library");
    static RFC_CONNOPT_R3 server{Text("sapprd"), 0, nullptr, nullptr};
    static RFC_OPTIONS options{Text("PRD"), 0, &server, Text("100"), Text("U"), Text("P"), Text("EN"), 0};
    CHECK(OP(RfcOpen)(&options) == 0);
    const LastError last = Last();
    CHECK(last.key == RFC_KEY_LIBRARY_UNUSABLE);
    CHECK(last.message.rfind("SAP NetWeaver RFC library no_such_sapnwrfc_library could not be loaded", 0) == 0);
}

TEST_CASE("structures: handles clear of the built-in codes, bad fields refused with a text")
{
    RFC_TYPEHANDLE cpu_all = InstallCpuAll();
    CHECK(cpu_all >= 1000);
    RFC_TYPEHANDLE second = InstallCpuAll();
    CHECK(second == cpu_all + 1);
    CHECK(InstallCpuAll(2) == 0);
    LastError last = Last();
    CHECK(last.key == "RFC_INVALID_PARAMETER");
    CHECK(last.status == "EXTERNAL_RUNTIME_FAILURE");
    CHECK(last.message == "RfcInstallStructure CPU_ALL: field 4 (NBR_CPU) has length 2, its type 4");
    CHECK(last.intstat == "RFC_INVALID_PARAMETER (20)");
    RFC_TYPEHANDLE handle = 0;
    CHECK(OP(RfcInstallStructure)(nullptr, nullptr, 0, &handle) == 1);
}

TEST_CASE("calls: tables of another row length, a receive without a call, the exception text")
{
    RFC_TYPEHANDLE cpu_all = InstallCpuAll();
    RFC_HANDLE h = OpenPrd();
    REQUIRE(h != 0);
    char local[6] = {'L', 'O', 'C', 'A', 'L', ' '};
    char destination[32];
    std::memset(destination, ' ', sizeof destination);
    RFC_PARAMETER exporting[] = {{Text("LOCAL_REMOTE"), 12, 0, 6, local},
                                 {Text("LOGICAL_DESTINATION"), 19, 0, 32, destination},
                                 {nullptr, 0, 0, 0, nullptr}};
    struct Case {
        const char* what;
        unsigned created;   // ItCreate's row length
        unsigned entry;     // the table entry's
        const char* message;
    };
    const Case cases[] = {
        {"rows created shorter", 44, 0,
         "RfcCall GET_CPU_ALL: table TF_CPU_ALL was created with rows of 44 bytes; its row type CPU_ALL has 48"},
        {"an entry of another length", 48, 44,
         "RfcCall GET_CPU_ALL: table TF_CPU_ALL is given rows of 44 bytes; its row type CPU_ALL has 48"},
        {"both right", 48, 48, ""},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.what));
        ITAB_H table = OP(ItCreate)(Text("TF_CPU_ALL"), c.created, 0, 0);
        RFC_TABLE tables[] = {{Text("TF_CPU_ALL"), 10, cpu_all, c.entry, table, 0, 0}, {}};
        int rc = OP(RfcCall)(h, Text("GET_CPU_ALL"), exporting, tables);
        CHECK(rc == (*c.message != '\0' ? 1 : 0));
        if (rc != 0) CHECK(Last().message == c.message);
        CHECK(OP(ItDelete)(table) == 0);
    }

    char* exception = nullptr;
    RFC_PARAMETER none[] = {{nullptr, 0, 0, 0, nullptr}};
    RFC_TABLE no_tables[] = {{}};
    CHECK(OP(RfcReceive)(h, none, no_tables, &exception) == 0);   // an answer of which nothing is asked
    CHECK(OP(RfcCall)(h, Text("RFC_SYSTEM_INFO"), none, no_tables) == 0);
    CHECK(OP(RfcReceive)(h, none, no_tables, &exception) == 2);
    REQUIRE(exception != nullptr);
    CHECK(std::string(exception) == "NOT_AUTHORIZED");
    CHECK(OP(RfcReceive)(h, none, no_tables, &exception) == 1);
    CHECK(Last().message == "RfcReceive: no function module called on handle " + std::to_string(h));
    CHECK(OP(RfcCall)(h, Text("RFC_PING"), none, no_tables) == 1);
    CHECK(Last().key == "FU_NOT_FOUND");
    CHECK(Last().intstat == "RFC_ABAP_EXCEPTION (5), ABAP message FL 046 type E");

    OP(RfcClose)(12345);   // an unknown handle: nothing happens
    OP(RfcClose)(0);       // every connection
    CHECK(OP(RfcCall)(h, Text("RFC_SYSTEM_INFO"), none, no_tables) == 1);
    CHECK(Last().message == "RfcCall: handle " + std::to_string(h) + " is not open");
}

TEST_CASE("openings the adapter refuses")
{
    RFC_CONNOPT_CPIC gateway{Text("sapgw"), Text("sapgw00")};
    RFC_OPTIONS r2{Text("PRD"), 1, &gateway, Text("100"), Text("U"), Text("P"), Text("EN"), 0};
    CHECK(OP(RfcOpen)(&r2) == 0);
    CHECK(Last().key == "RFC_NOT_SUPPORTED");
    CHECK(Last().message ==
          "RfcOpen: R/2 connections (mode 1, through a CPI-C gateway) are not offered by the SAP NetWeaver RFC library");

    RFC_ERROR_INFO_EX info;
    std::memset(&info, 'x', sizeof info);
    CHECK(OP(RfcOpenEx)(Text("CLIENT=100 PASSWD=\"unclosed"), &info) == 0);
    CHECK(std::string(info.key) == "RFC_INVALID_PARAMETER");
    CHECK(std::string(info.message) == "RfcOpenEx: connect string: the value of PASSWD lacks its closing quote");
    CHECK(info.group == 5);
    CHECK(OP(RfcOpenEx)(nullptr, nullptr) == 0);
    CHECK(OP(RfcLastError)(nullptr) == 1);
}

TEST_CASE("internal tables")
{
    CHECK(OP(ItCreate)(Text("EMPTY"), 0, 0, 0) == nullptr);
    CHECK(Last().message == "ItCreate EMPTY: row length 0");
    ITAB_H table = OP(ItCreate)(Text("T"), 4, 0, 0);
    REQUIRE(table != nullptr);
    CHECK(OP(ItFill)(table) == 0);
    CHECK(OP(ItGetLine)(table, 1) == nullptr);
    CHECK(Last().message == "ItGetLine T: row 1 of 0");
    CHECK(OP(ItDelete)(table) == 0);
    CHECK(OP(ItDelete)(table) == 1);
    CHECK(OP(ItFill)(table) == 0);
}
