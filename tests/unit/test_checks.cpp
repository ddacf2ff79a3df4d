// The checks return their outcomes: over a stand-in for the RFC library that
// answers as a table says, each check gives its values or its failure as a
// value, and writes nothing.
#include <doctest/doctest.h>

#include <cstring>
#include <string>

#include "checks/CpuProbe.h"
#include "checks/CriticalObjects.h"
#include "checks/SystemInfoProbe.h"
#include "rfc/RfcLibrary.h"

namespace {

// What the stand-in answers: the return code of RfcReceive (and its exception
// text), and the rows each table holds.
struct Answers {
    int ReceiveCode = RFC_OK;
    const char* Exception = "";
    unsigned Rows = 0;
    const char* DatabaseSystem = "ORACLE";
    int CritNr[3] = {0, 0, 0};  // NR_TABLES, NR_INDEXES, NR_TS
};
Answers Given;
char Row[256];

int RFC_LIBRARY_CALL InstallStructure(char*, RFC_TYPE_ELEMENT*, unsigned, RFC_TYPEHANDLE* handle) {
    *handle = 7;
    return 0;
}
int RFC_LIBRARY_CALL Call(RFC_HANDLE, char*, RFC_PARAMETER*, RFC_TABLE*) { return RFC_OK; }
int RFC_LIBRARY_CALL Receive(RFC_HANDLE, RFC_PARAMETER* importing, RFC_TABLE*, char** exception) {
    *exception = const_cast<char*>(Given.Exception);
    for (RFC_PARAMETER* parameter = importing; parameter && parameter->name; ++parameter) {
        const std::string name(static_cast<const char*>(parameter->name), parameter->nlen);
        if (name == "RFCSI_EXPORT") {
            std::memset(parameter->addr, ' ', parameter->leng);
            std::memcpy(static_cast<char*>(parameter->addr) + RFCDBSYS_Offset, Given.DatabaseSystem,
                        std::strlen(Given.DatabaseSystem));
            std::memcpy(static_cast<char*>(parameter->addr) + RFCHOST_Offset, "sapprd", 6);
        }
        if (name == "NR_CRIT_OBJ") std::memcpy(parameter->addr, Given.CritNr, sizeof Given.CritNr);
    }
    return Given.ReceiveCode;
}
ITAB_H RFC_LIBRARY_CALL Create(char*, unsigned, unsigned, unsigned) { return reinterpret_cast<ITAB_H>(1); }
unsigned RFC_LIBRARY_CALL Fill(ITAB_H) { return Given.Rows; }
void* RFC_LIBRARY_CALL GetLine(ITAB_H, unsigned) { return Row; }
int RFC_LIBRARY_CALL Delete(ITAB_H) { return 0; }

struct StandIn {
    StandIn() {
        Rfc.RfcInstallStructure = InstallStructure;
        Rfc.RfcCall = Call;
        Rfc.RfcReceive = Receive;
        Rfc.ItCreate = Create;
        Rfc.ItFill = Fill;
        Rfc.ItGetLine = GetLine;
        Rfc.ItDelete = Delete;
    }
    ~StandIn() {
        Rfc = RfcLibraryContext{};
        Given = Answers{};
    }
};

}  // namespace

TEST_CASE("the outcome of each check: its values, or its failure's text") {
    StandIn library;
    struct Case {
        int code;
        const char* exception;
        const char* failure;
    };
    const Case cases[] = {
        {RFC_OK, "", ""},
        {RFC_FAILURE, "", "Error 1014: RFC-Failure raised !"},
        {RFC_EXCEPTION, "NO_DATA_FOUND", "Error 1012: Exception.: NO_DATA_FOUND"},
        {RFC_SYS_EXCEPTION, "X", "Error 1013: Sys-Exception raised !"},
        {9, "", "Error 1015: Other Failure raised !"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.code);
        Given.ReceiveCode = c.code;
        Given.Exception = c.exception;
        Given.Rows = 3;
        Given.CritNr[0] = 4;  // NR_TABLES
        Given.CritNr[1] = 1229;  // NR_INDEXES
        Given.CritNr[2] = -1;  // NR_TS
        const CallOutcome cpu = ProbeCpu(1);
        CHECK(cpu.Code == c.code);
        CHECK(cpu.Failure == c.failure);
        const SystemInfo info = ProbeSystemInfo(1);
        CHECK(info.Outcome.Failure == c.failure);
        CHECK(info.DatabaseSystem == (c.code == RFC_OK ? "ORACLE    " : ""));
        CHECK(info.Host == (c.code == RFC_OK ? "sapprd  " : ""));
        const CriticalObjectsMeasurement measurement = CheckCriticalObjects(1, CriticalNamesOptions{});
        CHECK(measurement.Outcome.Failure == c.failure);
        if (c.code == RFC_OK) {
            // The rows counted, then NR_TS, NR_TABLES, NR_INDEXES: in the order of the channels.
            const ChannelValues expected = {3, 3, -1, 4, 1229};
            CHECK(measurement.Values == expected);
        }
    }
}

TEST_CASE("only a database system whose name begins with ORA is Oracle") {
    const std::pair<const char*, bool> cases[] = {
        {"ORACLE", true}, {"ORA", true}, {"ora", false}, {"MSSQL", false}, {"", false}, {" ORACLE", false}};
    for (const auto& [name, oracle] : cases) CHECK(DatabaseIsOracle(name) == oracle);
}
