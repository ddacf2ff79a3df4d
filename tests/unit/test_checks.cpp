// The checks return their outcomes: over a stand-in for the RFC library that
// answers as a table says, each check gives its values or its failure as a
// value, and writes nothing.
#include <doctest/doctest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

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
    // Rows of their own, laid out as the structures say; none: every row is Row.
    std::vector<std::string> TablespaceRows, ObjectRows;
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
// TS_CHECK is table 2, every other table 1.
ITAB_H RFC_LIBRARY_CALL Create(char* name, unsigned, unsigned, unsigned) {
    return reinterpret_cast<ITAB_H>(std::string(name) == "TS_CHECK" ? 2 : 1);
}
std::vector<std::string>& RowsOf(ITAB_H table) {
    return reinterpret_cast<std::uintptr_t>(table) == 2 ? Given.TablespaceRows : Given.ObjectRows;
}
unsigned RFC_LIBRARY_CALL Fill(ITAB_H table) {
    return RowsOf(table).empty() ? Given.Rows : static_cast<unsigned>(RowsOf(table).size());
}
void* RFC_LIBRARY_CALL GetLine(ITAB_H table, unsigned index) {
    return RowsOf(table).empty() ? Row : RowsOf(table)[index - 1].data();
}
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

namespace {

// A row as the library hands it: the texts blank-padded at their offsets, the INTs native.
std::string LaidOut(std::size_t length, std::initializer_list<std::pair<std::size_t, std::string>> texts,
                    std::size_t firstInt, std::initializer_list<std::int32_t> ints) {
    std::string row(length, '\0');
    for (const auto& [offset, text] : texts) row.replace(offset, 30, (text + std::string(30, ' ')).substr(0, 30));
    std::size_t at = firstInt;
    for (std::int32_t value : ints) {
        std::memcpy(row.data() + at, &value, sizeof value);
        at += sizeof value;
    }
    return row;
}

}  // namespace

TEST_CASE("the rows' fields at the structures' offsets; EXCLUDE= leaves tablespaces and their objects out of the two row counts") {
    StandIn library;
    Given.CritNr[2] = 3;  // NR_TS stays SAP's
    Given.TablespaceRows = {LaidOut(60, {{0, "PSAPTEMP"}}, 32, {1, 2, 3, 4, 5, 6, -7}),
                            LaidOut(60, {{0, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"}}, 32, {-2147483647 - 1, 0, 0, 0, 0, 0, 2147483647}),
                            LaidOut(60, {{0, ""}}, 32, {}),
                            LaidOut(60, {{0, "psapundo"}}, 32, {})};
    Given.ObjectRows = {LaidOut(116, {{0, "BALDAT~0"}, {30, "BALDAT"}, {60, "PSAPSR3"}}, 92, {1, 2, 3, 4, 5, -6}),
                        LaidOut(116, {{0, "X"}, {30, "Y"}, {60, "PSAPTEMP"}}, 92, {})};
    Given.ObjectRows[0][3] = '\0';   // a NUL inside a name stays,
    Given.ObjectRows[0][29] = '\0';  // the blanks and NULs after it go

    struct Case {
        const char* exclude;
        unsigned limit;
        ChannelValues values;
        std::size_t namedSpaces, namedObjects;
        unsigned long long unnamedSpaces, excluded;
    };
    const Case cases[] = {
        {"", 20, {4, 2, 3, 0, 0}, 4, 2, 0, 0},
        {"", 1, {4, 2, 3, 0, 0}, 1, 1, 3, 0},
        {"PSAPTEMP", 20, {3, 1, 3, 0, 0}, 3, 1, 0, 2},
        {"PSAP*", 20, {2, 0, 3, 0, 0}, 2, 0, 0, 4},  // psapundo too, and PSAPSR3 with its object
        {"*", 20, {0, 0, 3, 0, 0}, 0, 0, 0, 6},       // the blank name as well
    };
    for (const Case& c : cases) {
        CAPTURE(c.exclude);
        CriticalNamesOptions options;
        if (*c.exclude) options.Excluded = {c.exclude};
        options.Limit = c.limit;
        const CriticalObjectsMeasurement measurement = CheckCriticalObjects(1, options);
        CHECK(measurement.Values == c.values);
        CHECK(measurement.Names.Tablespaces.size() == c.namedSpaces);
        CHECK(measurement.Names.Objects.size() == c.namedObjects);
        CHECK(measurement.Names.UnnamedTablespaces == c.unnamedSpaces);
        CHECK(measurement.Names.Excluded == c.excluded);
    }

    const CriticalObjectsMeasurement all = CheckCriticalObjects(1, CriticalNamesOptions{});
    const CriticalTablespace& first = all.Names.Tablespaces[0];
    CHECK(first.TS == "PSAPTEMP");
    CHECK(first.Figures == std::array<std::int32_t, 7>{1, 2, 3, 4, 5, 6, -7});
    CHECK(all.Names.Tablespaces[1].TS == "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
    CHECK(all.Names.Tablespaces[1].Figures[0] == -2147483647 - 1);
    CHECK(all.Names.Tablespaces[2].TS.empty());
    const CriticalObject& object = all.Names.Objects[0];
    CHECK(object.ON == std::string("BAL\0AT~0", 8));
    CHECK(object.TN == "BALDAT");
    CHECK(object.TS == "PSAPSR3");
    CHECK(object.Figures == std::array<std::int32_t, 6>{1, 2, 3, 4, 5, -6});
}
