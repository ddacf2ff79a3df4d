// Drives the simulator the way the sensor does: loads the library at run
// time, logs on, calls the three function modules, and checks what the
// library answers, traces and journals.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#define DOCTEST_CONFIG_NO_MULTITHREADING   // one thread; also builds with win32-thread toolchains
#include "doctest.h"

#include "RfcInterface.h"

#include <cstdint>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <span>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// ---- Loading the library, as the sensor does ----

void* Symbol(const char* name)
{
#if defined(_WIN32)
    static HMODULE library = LoadLibraryA(RFCSIM_LIBRARY);
    return library != nullptr ? reinterpret_cast<void*>(GetProcAddress(library, name)) : nullptr;
#else
    static void* library = dlopen(RFCSIM_LIBRARY, RTLD_NOW);
    return library != nullptr ? dlsym(library, name) : nullptr;
#endif
}

struct Library {
    RfcEnvironment_t environment;
    RfcOpen_t open;
    RfcOpenEx_t open_ex;
    RfcInstallStructure_t install;
    RfcCall_t call;
    RfcReceive_t receive;
    ItCreate_t create;
    ItFill_t fill;
    ItGetLine_t line;
    ItDelete_t remove;
    RfcLastError_t last_error;
    RfcClose_t close;
};

template <typename T>
T Find(const char* name)
{
    void* address = Symbol(name);
    REQUIRE_MESSAGE(address != nullptr, name);
    return reinterpret_cast<T>(address);
}

const Library& Lib()
{
    static const Library lib{
        Find<RfcEnvironment_t>("RfcEnvironment"), Find<RfcOpen_t>("RfcOpen"),
        Find<RfcOpenEx_t>("RfcOpenEx"),           Find<RfcInstallStructure_t>("RfcInstallStructure"),
        Find<RfcCall_t>("RfcCall"),               Find<RfcReceive_t>("RfcReceive"),
        Find<ItCreate_t>("ItCreate"),             Find<ItFill_t>("ItFill"),
        Find<ItGetLine_t>("ItGetLine"),           Find<ItDelete_t>("ItDelete"),
        Find<RfcLastError_t>("RfcLastError"),     Find<RfcClose_t>("RfcClose"),
    };
    return lib;
}

// ---- Working directory, scenario, trace file and journal ----

void SetEnvironment(const char* name, const std::string& value)
{
#if defined(_WIN32)
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

// A directory of its own per test process, removed when the process ends.
struct WorkDirectory {
    fs::path path;

    WorkDirectory()
    {
#if defined(_WIN32)
        unsigned long id = GetCurrentProcessId();
#else
        long id = static_cast<long>(getpid());
#endif
        path = fs::temp_directory_path() / ("rfcsim_test_" + std::to_string(id));
        fs::remove_all(path);
        fs::create_directories(path);
        fs::current_path(path);
        SetEnvironment("RFCSIM_JOURNAL", (path / "journal.txt").string());
    }

    ~WorkDirectory()
    {
        std::error_code ignored;
        fs::current_path(fs::temp_directory_path(), ignored);
        fs::remove_all(path, ignored);
    }
};

const fs::path& WorkDir()
{
    static const WorkDirectory dir;
    return dir.path;
}

std::string ScenarioPath()
{
    return (WorkDir() / "scenario.txt").string();
}

// A fresh scenario, trace file and journal for one case.
void UseScenario(const std::string& text)
{
    std::ofstream(ScenarioPath()) << text;
    SetEnvironment("RFCSIM_SCENARIO", ScenarioPath());
    fs::remove(WorkDir() / "Dev_Rfc.Trc");
    fs::remove(WorkDir() / "journal.txt");
}

std::vector<std::string> Lines(const fs::path& path)
{
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> TraceLines()
{
    return Lines(WorkDir() / "Dev_Rfc.Trc");
}

std::string LastTraceLine()
{
    std::vector<std::string> lines = TraceLines();
    return lines.empty() ? "" : lines.back();
}

std::string LastJournalLine()
{
    std::vector<std::string> lines = Lines(WorkDir() / "journal.txt");
    return lines.empty() ? "" : lines.back();
}

const char kSystems[] = R"(# two systems
[system PRD]
client = 100
user = DDIC
password = secret
host = sap01
rows.TF_CPU_ALL = 3
rows.CRITOBJ = 1234
rows.TS_CHECK = 2
NR_CRIT_OBJ.NR_TABLES = 5
NR_CRIT_OBJ.NR_INDEXES = 7
NR_CRIT_OBJ.NR_TS = -3

[system QAS]
unreachable = yes
)";

// ---- Logon, as the sensor passes it ----

RFC_CONNOPT_R3 g_server{const_cast<char*>("sap01"), 7, nullptr, nullptr};
RFC_CONNOPT_CPIC g_cpic{const_cast<char*>("gw01"), const_cast<char*>("sapgw07")};

RFC_HANDLE OpenPrd(const char* password = "secret    ", const char* client = "100", int mode = 0)
{
    RFC_OPTIONS options{const_cast<char*>("PRD"), mode, mode == 1 ? static_cast<void*>(&g_cpic) : &g_server,
                        const_cast<char*>(client), const_cast<char*>("DDIC        "),
                        const_cast<char*>(password), const_cast<char*>("E"), 0};
    return Lib().open(&options);
}

// ---- Structures, installed once per process like the sensor does ----

struct Field {
    const char* name;
    RFC_TYPEHANDLE type;
    unsigned length;
};

const Field kRfcsi[] = {
    {"RFCPROTO", 0, 3},  {"RFCCHARTYP", 0, 4}, {"RFCINTTYP", 0, 3}, {"RFCFLOTYP", 0, 3},   {"RFCDEST", 0, 32},
    {"RFCHOST", 0, 8},   {"RFCSYSID", 0, 8},   {"RFCDATABS", 0, 8}, {"RFCDBHOST", 0, 32},  {"RFCDBSYS", 0, 10},
    {"RFCSAPRL", 0, 4},  {"RFCMACH", 0, 5},    {"RFCOPSYS", 0, 10}, {"RFCTZONE", 0, 6},    {"RFCDAYST", 0, 1},
    {"RFCIPADDR", 0, 15}, {"RFCKERNRL", 0, 4}, {"RFCSI_RESV", 0, 44},
};
const Field kCpuAll[] = {
    {"TYPE", 9, 2},      {"SUBTYPE", 9, 2},   {"SERIALNR", 9, 2},  {"NBR_CPU", 8, 4},   {"LOAD1_AVG", 8, 4},
    {"LOAD5_AVG", 8, 4}, {"LOAD15_AVG", 8, 4}, {"INT_SEC", 8, 4},  {"SYSC_SEC", 8, 4},  {"CS_SEC", 8, 4},
    {"USR_TOTAL", 8, 4}, {"SYS_TOTAL", 8, 4}, {"IDLE_TOTAL", 8, 4},
};
const Field kDateTime[] = {{"MONI_DATE", 1, 8}, {"MONI_TIME", 3, 6}};
const Field kCritNr[] = {{"NR_TABLES", 8, 4}, {"NR_INDEXES", 8, 4}, {"NR_TS", 8, 4}};
const Field kCritObj[] = {
    {"ON", 0, 30},         {"TN", 0, 30},         {"TS", 0, 30},         {"MAXBLKFREE", 8, 4}, {"ANZBLKFREE", 8, 4},
    {"TOTBLKFREE", 8, 4},  {"MAXNEXTEXT", 8, 4},  {"CRITICALS1", 8, 4},  {"CRITICALS2", 8, 4},
};
const Field kTspcCheck[] = {
    {"TS", 0, 30},         {"MAXBLKFREE", 8, 4},  {"ANZBLKFREE", 8, 4},  {"TOTBLKFREE", 8, 4},
    {"MAXNEXTEXT", 8, 4},  {"CRITICALS1", 8, 4},  {"CRITICALS2", 8, 4},  {"CRITICALS3", 8, 4},
};

RFC_TYPEHANDLE Install(const char* name, std::span<const Field> fields)
{
    std::vector<RFC_TYPE_ELEMENT> elements;
    for (const Field& field : fields) {
        elements.push_back({const_cast<char*>(field.name), field.type, field.length, 0, 0});
    }
    RFC_TYPEHANDLE handle = 0;
    REQUIRE(Lib().install(const_cast<char*>(name), elements.data(), static_cast<unsigned>(elements.size()), &handle) == 0);
    CHECK(handle > 9);
    return handle;
}

struct TypeHandles {
    RFC_TYPEHANDLE rfcsi, cpu_all, date_time, crit_nr, crit_obj, tspc_check;
};

const TypeHandles& Types()
{
    static const TypeHandles types{Install("RFCSI", kRfcsi),         Install("CPU_ALL", kCpuAll),
                                   Install("DATE_TIME", kDateTime),  Install("CRIT_NR_S", kCritNr),
                                   Install("CRIT_OBJ", kCritObj),    Install("TSPC_CHECK", kTspcCheck)};
    return types;
}

// ---- One function-module exchange with the descriptors the sensor passes ----

struct Exchange {
    std::string function;
    std::vector<RFC_PARAMETER> exporting;
    std::vector<RFC_PARAMETER> importing;
    std::vector<RFC_TABLE> tables;
    std::deque<std::vector<char>> values;   // stable storage behind the addr members
    char* exception = nullptr;

    explicit Exchange(const std::string& name) : function(name)
    {
        const TypeHandles& types = Types();
        if (name == "RFC_SYSTEM_INFO") {
            Import("CURRENT_RESOURCES", 8, 4);
            Import("DIALOG_USER_TYPE", 0, 1);
            Import("MAXIMAL_RESOURCES", 8, 4);
            Import("RECOMMENDED_DELAY", 8, 4);
            Import("RFCSI_EXPORT", types.rfcsi, 200);
            Import("RFC_LOGIN_COMPLETE", 0, 1);
        } else if (name == "GET_CPU_ALL") {
            Export("LOCAL_REMOTE", "LOCAL ");
            Export("LOGICAL_DESTINATION", std::string(32, ' '));
            for (const char* param : {"ACTIVEFLAG", "DETAILSCOLL", "DETAILSMODE", "DETAILSREQI"}) Import(param, 8, 4);
            Import("F_CPU_ALL_READ", 0, 3);
            Import("INTERVAL", 8, 4);
            Import("LASTCOLLINT", 8, 4);
            Import("LASTCOLLWRT", 0, 25);
            Import("NORMCOLLINT", 8, 4);
            Import("OP_SYSTEM", 0, 52);
            Table("TF_CPU_ALL", types.cpu_all, 48);
        } else {
            Export("FLAG_REFRESH", " ");
            Import("CURR_DATE", 1, 8);
            Import("CURR_TIME", 3, 6);
            Import("DATETIME", types.date_time, 14);
            Import("NR_CRIT_OBJ", types.crit_nr, 12);
            Table("CRITOBJ", types.crit_obj, 116);
            Table("TS_CHECK", types.tspc_check, 60);
        }
    }

    ~Exchange()
    {
        for (RFC_TABLE& table : tables) {
            if (table.ithandle != nullptr) Lib().remove(table.ithandle);
        }
    }

    void* Store(const std::string& value)
    {
        values.emplace_back(value.begin(), value.end());
        return values.back().data();
    }

    void Export(const char* name, const std::string& value)
    {
        exporting.push_back({const_cast<char*>(name), static_cast<unsigned>(std::strlen(name)), 0,
                             static_cast<unsigned>(value.size()), Store(value)});
    }

    void Import(const char* name, RFC_TYPEHANDLE type, unsigned length)
    {
        importing.push_back({const_cast<char*>(name), static_cast<unsigned>(std::strlen(name)), type, length,
                             Store(std::string(length, '\0'))});
    }

    void Table(const char* name, RFC_TYPEHANDLE type, unsigned row_length)
    {
        ITAB_H table = Lib().create(const_cast<char*>(name), row_length, 0, 0);
        REQUIRE(table != nullptr);
        tables.push_back({const_cast<char*>(name), static_cast<unsigned>(std::strlen(name)), type, 0, table, 0, 0});
    }

    template <typename Entry>
    static std::vector<Entry> Terminated(std::vector<Entry> list)
    {
        list.push_back(Entry{});
        return list;
    }

    RFC_RC Call(RFC_HANDLE h)
    {
        auto exports = Terminated(exporting);
        auto table_list = Terminated(tables);
        return Lib().call(h, function.data(), exports.data(), table_list.data());
    }

    RFC_RC Receive(RFC_HANDLE h)
    {
        auto imports = Terminated(importing);
        auto table_list = Terminated(tables);
        return Lib().receive(h, imports.data(), table_list.data(), &exception);
    }

    std::string Value(const char* name) const
    {
        for (const RFC_PARAMETER& param : importing) {
            if (std::strcmp(static_cast<const char*>(param.name), name) == 0) {
                return std::string(static_cast<const char*>(param.addr), param.leng);
            }
        }
        return "";
    }

    ITAB_H TableHandle(const char* name) const
    {
        for (const RFC_TABLE& table : tables) {
            if (std::strcmp(static_cast<const char*>(table.name), name) == 0) return table.ithandle;
        }
        return nullptr;
    }
};

std::int32_t IntAt(const std::string& bytes, std::size_t offset)
{
    std::int32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

unsigned RowsFetched(ITAB_H table)
{
    unsigned rows = Lib().fill(table);
    for (unsigned i = 1; i <= rows; ++i) {
        if (Lib().line(table, i) == nullptr) return 0;
    }
    CHECK(Lib().line(table, 0) == nullptr);
    CHECK(Lib().line(table, rows + 1) == nullptr);
    return rows;
}

std::string Handler_text;
void RFC_LIBRARY_CALL RecordingHandler(char* operation)
{
    Handler_text = operation;
}

}  // namespace

TEST_CASE("a logged-on system answers the three function modules")
{
    UseScenario(kSystems);
    RFC_HANDLE h = OpenPrd();
    REQUIRE(h != 0);
    CHECK(LastJournalLine() == "RfcOpen dest=<PRD> mode=0 client=<100> user=<DDIC        > passwd=<******    > "
                               "lang=<E> host=<sap01> sysnr=7 gwhost=(null) gwserv=(null) trace=0 -> " +
                                   std::to_string(h));

    Exchange info("RFC_SYSTEM_INFO");
    REQUIRE(info.Call(h) == 0);
    REQUIRE(info.Receive(h) == 0);
    std::string rfcsi = info.Value("RFCSI_EXPORT");
    CHECK(rfcsi.substr(101, 10) == "ORACLE    ");
    CHECK(rfcsi.substr(45, 8) == "sap01   ");
    CHECK(rfcsi.substr(53, 8) == "PRD     ");

    Exchange cpu("GET_CPU_ALL");
    REQUIRE(cpu.Call(h) == 0);
    CHECK(LastJournalLine() == "RfcCall " + std::to_string(h) +
                                   " GET_CPU_ALL export=[LOCAL_REMOTE:0:6=<LOCAL > LOGICAL_DESTINATION:0:32=<" +
                                   std::string(32, ' ') + ">] tables=[TF_CPU_ALL:CPU_ALL:48] -> 0");
    REQUIRE(cpu.Receive(h) == 0);
    CHECK(RowsFetched(cpu.TableHandle("TF_CPU_ALL")) == 3);

    Exchange crit("DB02_ORA_FILL_TS_CHECK__CRITOB");
    REQUIRE(crit.Call(h) == 0);
    REQUIRE(crit.Receive(h) == 0);
    CHECK(RowsFetched(crit.TableHandle("CRITOBJ")) == 1234);
    CHECK(RowsFetched(crit.TableHandle("TS_CHECK")) == 2);
    std::string numbers = crit.Value("NR_CRIT_OBJ");
    CHECK(IntAt(numbers, 0) == 5);
    CHECK(IntAt(numbers, 4) == 7);
    CHECK(IntAt(numbers, 8) == -3);
    CHECK(crit.Value("DATETIME").substr(0, 8) == crit.Value("CURR_DATE"));

    CHECK(TraceLines().empty());
    Lib().close(h);
    CHECK(LastJournalLine() == "RfcClose " + std::to_string(h));
}

TEST_CASE("logon outcomes")
{
    struct Case {
        const char* name;
        std::string scenario;
        std::function<RFC_HANDLE()> open;
        std::string trace;   // expected last trace line; empty: the logon succeeds
    };
    auto open_ex = [](const char* connect) {
        return [connect] {
            RFC_ERROR_INFO_EX info{};
            RFC_HANDLE h = Lib().open_ex(const_cast<char*>(connect), &info);
            CHECK((h == 0) == (info.message[0] != '\0'));
            return h;
        };
    };
    const std::string bad_key = std::string(kSystems) + "colour = blue\n";
    const Case cases[] = {
        {"padded credentials", kSystems, [] { return OpenPrd(); }, ""},
        {"CPI-C mode", kSystems, [] { return OpenPrd("secret", "100", 1); }, ""},
        {"connect string", kSystems, open_ex("CLIENT=100 USER=DDIC PASSWD=secret LANG=D DEST=PRD"), ""},
        {"wrong password", kSystems, [] { return OpenPrd("Secret    "); },
         "ERROR       logon failed: wrong password for user DDIC"},
        {"wrong client", kSystems, [] { return OpenPrd("secret", "200"); },
         "ERROR       logon failed: client 200 is not available in PRD"},
        {"wrong password in connect string", kSystems,
         open_ex("CLIENT=100 USER=DDIC PASSWD=guess LANG=D DEST=PRD"),
         "ERROR       logon failed: wrong password for user DDIC"},
        {"unknown destination", kSystems, open_ex("CLIENT=100 USER=DDIC PASSWD=secret LANG=D DEST=DEV"),
         "ERROR       destination DEV unknown in scenario " + ScenarioPath()},
        {"unreachable system", kSystems, open_ex("CLIENT=100 USER=DDIC PASSWD=secret LANG=D DEST=QAS"),
         "ERROR       partner not reached: destination QAS, host QAS"},
        {"unknown key", bad_key, [] { return OpenPrd(); },
         "ERROR       scenario " + ScenarioPath() + ":16: unknown key 'colour'"},
        {"system key outside a system", "rows.CRITOBJ = 3\n", [] { return OpenPrd(); },
         "ERROR       scenario " + ScenarioPath() + ":1: key 'rows.CRITOBJ' belongs in a [system NAME] section"},
        {"bad row count", "[system PRD]\nrows.TS_CHECK = many\n", [] { return OpenPrd(); },
         "ERROR       scenario " + ScenarioPath() + ":2: row count 'many' is not a number from 0 to 10000000"},
        {"field too long", "[system PRD]\nRFCSI.RFCHOST = verylonghost\n", [] { return OpenPrd(); },
         "ERROR       scenario " + ScenarioPath() + ":2: RFCHOST holds at most 8 characters"},
        {"a short wait, then the logon", "[system PRD]\nwait.logon = 0.05\nwait.GET_CPU_ALL = 0\n",
         [] { return OpenPrd(); }, ""},
        {"a wait that is no number", "[system PRD]\nwait.logon = long\n", [] { return OpenPrd(); },
         "ERROR       scenario " + ScenarioPath() + ":2: a wait is a number of seconds from 0 to 3600"},
        {"a wait past an hour", "[system PRD]\nwait.RFC_SYSTEM_INFO = 3601\n", [] { return OpenPrd(); },
         "ERROR       scenario " + ScenarioPath() + ":2: a wait is a number of seconds from 0 to 3600"},
        {"a wait for an unknown module", "[system PRD]\nwait.RFC_PING = 1\n", [] { return OpenPrd(); },
         "ERROR       scenario " + ScenarioPath() +
             ":2: no function module RFC_PING (RFC_SYSTEM_INFO, GET_CPU_ALL, DB02_ORA_FILL_TS_CHECK__CRITOB)"},
    };
    for (const Case& c : cases) {
        std::string name = c.name;
        CAPTURE(name);
        UseScenario(c.scenario);
        RFC_HANDLE h = c.open();
        CHECK((h != 0) == c.trace.empty());
        CHECK(LastTraceLine() == c.trace);
        Lib().close(h);
    }

    UseScenario(kSystems);
    SetEnvironment("RFCSIM_SCENARIO", (WorkDir() / "missing.txt").string());
    CHECK(OpenPrd() == 0);
    CHECK(LastTraceLine() == "ERROR       scenario " + (WorkDir() / "missing.txt").string() + " cannot be read");
}

TEST_CASE("descriptors that differ from the system's fail the call with code 1")
{
    struct Case {
        const char* function;
        std::function<void(Exchange&)> change;
        bool at_receive;
        std::string trace;
    };
    const Case cases[] = {
        {"GET_CPU_ALL", [](Exchange& x) { x.exporting[0].leng = 5; }, false,
         "GET_CPU_ALL: exporting LOCAL_REMOTE has length 5, expected 6"},
        {"GET_CPU_ALL", [](Exchange& x) { std::memcpy(x.exporting[0].addr, "REMOTE", 6); }, false,
         "GET_CPU_ALL: exporting LOCAL_REMOTE is <REMOTE>, expected <LOCAL >"},
        {"GET_CPU_ALL", [](Exchange& x) { x.exporting[0].nlen = 13; }, false,
         "GET_CPU_ALL: exporting LOCAL_REMOTE has name length 13, expected 12"},
        {"GET_CPU_ALL", [](Exchange& x) { x.exporting[1].type = 8; }, false,
         "GET_CPU_ALL: exporting LOGICAL_DESTINATION has type 8, expected 0"},
        {"GET_CPU_ALL",
         [](Exchange& x) {
             Lib().remove(x.tables[0].ithandle);
             x.tables[0].ithandle = Lib().create(const_cast<char*>("TF_CPU_ALL"), 44, 0, 0);
         },
         false, "GET_CPU_ALL: table TF_CPU_ALL has rows of 44 bytes, expected 48"},
        {"GET_CPU_ALL", [](Exchange& x) { x.importing.erase(x.importing.begin() + 5); }, true,
         "GET_CPU_ALL: importing parameter 6 is LASTCOLLINT, expected INTERVAL"},
        {"RFC_SYSTEM_INFO", [](Exchange& x) { x.importing[4].type = Types().cpu_all; }, true,
         "RFC_SYSTEM_INFO: importing RFCSI_EXPORT is typed by CPU_ALL, expected RFCSI"},
        {"RFC_SYSTEM_INFO",
         [](Exchange& x) {
             std::vector<Field> fields(std::begin(kRfcsi), std::end(kRfcsi));
             fields[2].length = 4;
             x.importing[4].type = Install("RFCSI", fields);
         },
         true, "RFC_SYSTEM_INFO: structure RFCSI field RFCINTTYP has length 4, expected 3"},
        {"RFC_SYSTEM_INFO", [](Exchange& x) { x.importing.pop_back(); }, true,
         "RFC_SYSTEM_INFO: importing parameter RFC_LOGIN_COMPLETE missing"},
        {"DB02_ORA_FILL_TS_CHECK__CRITOB", [](Exchange& x) { x.importing[3].type = 8; }, true,
         "DB02_ORA_FILL_TS_CHECK__CRITOB: importing NR_CRIT_OBJ has type 8, expected structure CRIT_NR_S"},
        {"DB02_ORA_FILL_TS_CHECK__CRITOB", [](Exchange& x) { std::swap(x.tables[0], x.tables[1]); }, false,
         "DB02_ORA_FILL_TS_CHECK__CRITOB: table 1 is TS_CHECK, expected CRITOBJ"},
        {"GET_CPU_ALL", [](Exchange& x) { x.function = "RFC_PING"; }, false,
         "RfcCall: function module RFC_PING unknown"},
    };
    UseScenario(kSystems);
    RFC_HANDLE h = OpenPrd();
    REQUIRE(h != 0);
    for (const Case& c : cases) {
        CAPTURE(c.trace);
        Exchange x(c.function);
        c.change(x);
        if (c.at_receive) {
            REQUIRE(x.Call(h) == 0);
            CHECK(x.Receive(h) == 1);
        } else {
            CHECK(x.Call(h) == 1);
        }
        CHECK(LastTraceLine() == "ERROR       " + c.trace);
    }
    Lib().close(h);
}

TEST_CASE("forced outcomes return their code, exception and trace lines")
{
    struct Case {
        const char* lines;
        const char* function;
        RFC_RC call_rc;
        RFC_RC receive_rc;
        const char* exception;   // null: none handed back
        std::vector<std::string> trace;
    };
    const Case cases[] = {
        {"outcome.GET_CPU_ALL = 2 NO_DATA_FOUND\n"
         "outcome.GET_CPU_ALL.trace = **** ERROR file opened\n"
         "outcome.GET_CPU_ALL.trace = ERROR       no CPU data collected\n",
         "GET_CPU_ALL", 0, 2, "NO_DATA_FOUND", {"**** ERROR file opened", "ERROR       no CPU data collected"}},
        {"outcome.DB02_ORA_FILL_TS_CHECK__CRITOB = 3\n"
         "outcome.DB02_ORA_FILL_TS_CHECK__CRITOB.at = call\n"
         "outcome.DB02_ORA_FILL_TS_CHECK__CRITOB.trace = \"       ======> connection closed\"\n",
         "DB02_ORA_FILL_TS_CHECK__CRITOB", 3, -1, nullptr, {"       ======> connection closed"}},
        {"outcome.RFC_SYSTEM_INFO = 7\n", "RFC_SYSTEM_INFO", 0, 7, nullptr, {}},
        {"outcome.RFC_SYSTEM_INFO = 3 SYSTEM_FAILURE\n", "RFC_SYSTEM_INFO", 0, 3, "SYSTEM_FAILURE", {}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.lines);
        UseScenario(std::string(kSystems, std::strstr(kSystems, "\n[system QAS]") - kSystems) + "\n" + c.lines);
        RFC_HANDLE h = OpenPrd();
        REQUIRE(h != 0);
        Exchange x(c.function);
        CHECK(x.Call(h) == c.call_rc);
        if (c.receive_rc >= 0) {
            CHECK(x.Receive(h) == c.receive_rc);
            if (c.exception != nullptr) {
                REQUIRE(x.exception != nullptr);
                CHECK(std::string(x.exception) == c.exception);
                CHECK(LastJournalLine().ends_with(" -> " + std::to_string(c.receive_rc) + " exception=<" +
                                                  c.exception + ">"));
            } else {
                CHECK(x.exception == nullptr);
            }
        }
        CHECK(TraceLines() == c.trace);
        Lib().close(h);
    }
}

TEST_CASE("library faults on demand")
{
    Types();
    RFC_ENV env{RecordingHandler, nullptr};
    Lib().environment(&env);
    CHECK(LastJournalLine() == "RfcEnvironment handler=yes allocate=no");

    UseScenario("fault.install = ZTEST\n"
                "fault.handler = RfcCall GET_CPU_ALL\n"
                "[system PRD]\nrows.TS_CHECK = 1\nfault.itcreate = TF_CPU_ALL\nfault.itgetline = CRITOBJ\nfault.itdelete = TS_CHECK\n"
                "[system DEV]\nfault.itcreate = CRITOBJ\n");
    RFC_HANDLE h = OpenPrd();
    REQUIRE(h != 0);

    RFC_TYPE_ELEMENT element{const_cast<char*>("F"), 0, 1, 0, 0};
    RFC_TYPEHANDLE handle = 0;
    CHECK(Lib().install(const_cast<char*>("ZTEST"), &element, 1, &handle) != 0);
    CHECK(handle == 0);
    CHECK(LastTraceLine() == "ERROR       RfcInstallStructure ZTEST: fault on demand");

    CHECK(Lib().create(const_cast<char*>("TF_CPU_ALL"), 48, 0, 0) == nullptr);
    CHECK(LastJournalLine() == "ItCreate TF_CPU_ALL 48 0 0 -> null");

    {
        Exchange crit("DB02_ORA_FILL_TS_CHECK__CRITOB");   // the DEV fault does not bite on PRD
        REQUIRE(crit.Call(h) == 0);
        REQUIRE(crit.Receive(h) == 0);
        CHECK(Lib().line(crit.TableHandle("CRITOBJ"), 1) == nullptr);
        CHECK(Lib().line(crit.TableHandle("TS_CHECK"), 1) != nullptr);
        CHECK(Lib().remove(crit.TableHandle("CRITOBJ")) == 0);
        crit.tables[0].ithandle = nullptr;
        CHECK(Lib().remove(crit.TableHandle("TS_CHECK")) != 0);
        CHECK(LastJournalLine() == "ItDelete TS_CHECK -> 1");
    }

    Handler_text.clear();
    UseScenario("fault.handler = RfcCall GET_CPU_ALL\n[system PRD]\n");
    RFC_HANDLE h2 = OpenPrd();
    {
        Exchange cpu("GET_CPU_ALL");
        CHECK(cpu.Call(h2) == 1);
        CHECK(Handler_text == "RfcCall GET_CPU_ALL");
        CHECK(LastJournalLine().ends_with("-> 1 (handler)"));
    }
    Lib().close(0);
    RFC_ENV none{nullptr, nullptr};
    Lib().environment(&none);
}

TEST_CASE("RfcLastError hands out bounded scenario texts or the last failure")
{
    const std::string long_text(300, 'm');
    UseScenario("lasterror.key = GLOBALKEY\nlasterror.status = global status\n"
                "[system PRD]\npassword = secret\nlasterror.key = PRDKEY\nlasterror.message = " +
                long_text + "\n[system DEV]\n");
    CHECK(OpenPrd("wrong") == 0);
    RFC_ERROR_INFO info{};
    REQUIRE(Lib().last_error(&info) == 0);
    CHECK(std::string(info.key) == "PRDKEY");
    CHECK(std::string(info.status) == "global status");
    CHECK(std::string(info.message) == long_text.substr(0, 255));
    CHECK(std::string(info.intstat).empty());

    RFC_ERROR_INFO_EX ignored{};
    CHECK(Lib().open_ex(const_cast<char*>("DEST=DEV"), &ignored) != 0);
    CHECK(Lib().call(99, const_cast<char*>("GET_CPU_ALL"), nullptr, nullptr) == 1);
    RFC_ERROR_INFO dev{};
    REQUIRE(Lib().last_error(&dev) == 0);
    CHECK(std::string(dev.key) == "GLOBALKEY");
    CHECK(std::string(dev.message) == "RfcCall: handle 99 is not open");
    Lib().close(0);
}

TEST_CASE("closing all connections and odd input")
{
    UseScenario(kSystems);
    RFC_HANDLE first = OpenPrd();
    RFC_HANDLE second = OpenPrd();
    REQUIRE(first != 0);
    CHECK(second == first + 1);
    Lib().close(0);
    CHECK(LastJournalLine() == "RfcClose 0");
    for (RFC_HANDLE h : {first, second}) {
        Exchange info("RFC_SYSTEM_INFO");
        CHECK(info.Call(h) == 1);
        CHECK(LastTraceLine() == "ERROR       RfcCall: handle " + std::to_string(h) + " is not open");
    }

    RFC_HANDLE h = OpenPrd();
    RFC_PARAMETER empty_params[1] = {};
    RFC_TABLE empty_tables[1] = {};
    char* exception = nullptr;
    int bogus = 0;
    CHECK(Lib().open(nullptr) == 0);
    CHECK(Lib().open_ex(nullptr, nullptr) == 0);
    CHECK(Lib().install(nullptr, nullptr, 3, nullptr) != 0);
    CHECK(Lib().install(const_cast<char*>("ZEMPTY"), nullptr, 0, nullptr) != 0);
    CHECK(Lib().call(h, nullptr, nullptr, nullptr) == 1);
    CHECK(Lib().receive(h, empty_params, empty_tables, &exception) == 1);
    CHECK(Lib().receive(h, nullptr, nullptr, nullptr) == 1);
    CHECK(Lib().create(nullptr, 10, 0, 0) == nullptr);
    CHECK(Lib().fill(&bogus) == 0);
    CHECK(Lib().line(nullptr, 1) == nullptr);
    CHECK(Lib().line(&bogus, 1) == nullptr);
    CHECK(Lib().remove(&bogus) != 0);
    CHECK(Lib().last_error(nullptr) != 0);
    Lib().environment(nullptr);
    CHECK(LastJournalLine() == "RfcEnvironment (null)");
    CHECK(exception == nullptr);
    Lib().close(h);
}
