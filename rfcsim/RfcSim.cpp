// The twelve operations of the RFC client library, answered by a simulated
// system that a scenario file describes (README.md).
#include "Modules.h"
#include "RfcInterface.h"
#include "Scenario.h"
#include "Text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <type_traits>

#if defined(_WIN32)
#define RFCSIM_EXPORT extern "C" __declspec(dllexport)
#else
#define RFCSIM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace rfcsim {

namespace {

const char kTraceFile[] = "Dev_Rfc.Trc";
const char kErrorPrefix[] = "ERROR       ";   // "ERROR" and 7 blanks: the reason starts at offset 12
constexpr RFC_TYPEHANDLE kFirstStructureHandle = 10;   // above the built-in type codes
constexpr unsigned kMaxStructureFields = 1000;

struct Connection {
    System system;          // as the scenario described it at logon
    std::string pending;    // function module called and not yet received
};

struct LastFailure {
    std::string operation;
    std::string reason;
};

Scenario g_scenario;
bool g_scenario_read = false;
std::string g_current_destination;   // of the latest RfcOpen or RfcOpenEx
std::map<RFC_HANDLE, Connection> g_connections;
RFC_HANDLE g_next_handle = 1;
std::vector<InstalledStructure> g_structures;
std::map<ITAB_H, std::unique_ptr<InternalTable>> g_tables;
RFC_ERROR_HANDLER g_error_handler = nullptr;
char g_handler_text[256];
std::string g_exception;
LastFailure g_last_failure;

// ---- Trace file and journal ----

// mode "a" appends a text line (CR LF on Windows, as a library writes its trace
// there), "ab" a line that ends in LF on every platform.
void AppendLine(const char* path, const std::string& line, const char* mode)
{
    std::FILE* file = std::fopen(path, mode);
    if (file == nullptr) {
        return;
    }
    std::fputs(line.c_str(), file);
    std::fputc('\n', file);
    std::fclose(file);
}

void Trace(const std::string& line)
{
    AppendLine(kTraceFile, line, "a");
}

// A failure that the trace file shows as an ERROR line and RfcLastError reports.
void Fail(const std::string& operation, const std::string& reason)
{
    Trace(kErrorPrefix + reason);
    g_last_failure = LastFailure{operation, reason};
}

void Journal(const std::string& line)
{
    const char* path = std::getenv("RFCSIM_JOURNAL");
    if (path != nullptr && *path != '\0') {
        AppendLine(path, line, "ab");
    }
}

// ---- Scenario ----

void ReadScenario()
{
    g_scenario = LoadScenario(std::getenv("RFCSIM_SCENARIO"));
    g_scenario_read = true;
}

void EnsureScenario()
{
    if (!g_scenario_read) {
        ReadScenario();
    }
}

const System* CurrentSystem()
{
    return FindSystem(g_scenario, g_current_destination);
}

bool Listed(const std::vector<std::string>& names, const std::string& name)
{
    for (const std::string& each : names) {
        if (each == name) {
            return true;
        }
    }
    return false;
}

// A fault of the global section or of the current system.
bool FaultOn(std::vector<std::string> Faults::*list, const std::string& name)
{
    EnsureScenario();
    const System* system = CurrentSystem();
    return Listed(g_scenario.faults.*list, name) || (system != nullptr && Listed(system->faults.*list, name));
}

// Whether the scenario wants the error handler called at this operation.
// If so, the failure is traced and the text for the handler prepared.
bool HandlerFault(const std::string& operation, const std::string& name)
{
    std::string text = operation + " " + name;
    if (!FaultOn(&Faults::handler, operation) && !FaultOn(&Faults::handler, text)) {
        return false;
    }
    Fail(operation, text + ": error handler called on demand");
    CopyToField(g_handler_text, sizeof g_handler_text, text);
    return true;
}

// Called after the journal line is written: the sensor's handler does not return.
void CallErrorHandler()
{
    if (g_error_handler != nullptr) {
        g_error_handler(g_handler_text);
    }
}

std::string HandlerNote(bool called)
{
    return called && g_error_handler != nullptr ? " (handler)" : "";
}

// ---- Journal texts of the lists ----

std::string TypeText(RFC_TYPEHANDLE type)
{
    const InstalledStructure* structure = FindStructure(type);
    return structure != nullptr ? structure->name : std::to_string(type);
}

std::string ValueText(const RFC_PARAMETER& param)
{
    if (param.addr == nullptr) {
        return "=(null)";
    }
    if (param.type == RFCTYPE_CHAR || param.type == RFCTYPE_DATE || param.type == RFCTYPE_TIME) {
        std::string text(static_cast<const char*>(param.addr), param.leng < kMaxCallerText ? param.leng : kMaxCallerText);
        for (char& c : text) {
            if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) {
                c = '.';
            }
        }
        return "=<" + text + ">";
    }
    if (param.type == RFCTYPE_INT && param.leng == 4) {
        std::int32_t value = 0;
        std::memcpy(&value, param.addr, sizeof value);
        return "=<" + std::to_string(value) + ">";
    }
    if (param.type == RFCTYPE_INT2 && param.leng == 2) {
        std::int16_t value = 0;
        std::memcpy(&value, param.addr, sizeof value);
        return "=<" + std::to_string(value) + ">";
    }
    return "";
}

std::string ParameterListText(RFC_PARAMETER* list, bool with_values)
{
    if (list == nullptr) {
        return "(null)";
    }
    std::string text = "[";
    for (unsigned i = 0; list[i].name != nullptr && i < 256; ++i) {
        const RFC_PARAMETER& param = list[i];
        if (i > 0) text += " ";
        text += EntryName(param.name, param.nlen) + ":" + TypeText(param.type) + ":" + std::to_string(param.leng);
        if (with_values) text += ValueText(param);
    }
    return text + "]";
}

std::string TableListText(RFC_TABLE* list)
{
    if (list == nullptr) {
        return "(null)";
    }
    std::string text = "[";
    for (unsigned i = 0; list[i].name != nullptr && i < 256; ++i) {
        const RFC_TABLE& table = list[i];
        if (i > 0) text += " ";
        text += EntryName(table.name, table.nlen) + ":" + TypeText(table.type) + ":";
        const InternalTable* internal = FindTable(table.ithandle);
        if (table.ithandle == nullptr) {
            text += "(null)";
        } else if (internal == nullptr) {
            text += "?";
        } else {
            text += std::to_string(internal->row_length);
        }
    }
    return text + "]";
}

std::string TableName(ITAB_H handle)
{
    if (handle == nullptr) {
        return "(null)";
    }
    const InternalTable* table = FindTable(handle);
    return table != nullptr ? table->name : "(unknown)";
}

// ---- Logon ----

// Why a logon to `destination` with these credentials fails; empty if it succeeds.
std::string LogonProblem(const std::string& destination, const std::string& client, const std::string& user,
                         const std::string& password)
{
    if (!g_scenario.error.empty()) {
        return g_scenario.error;
    }
    const System* system = FindSystem(g_scenario, destination);
    if (destination.empty()) {
        return "logon failed: no destination given";
    }
    if (system == nullptr) {
        return "destination " + destination + " unknown in scenario " + g_scenario.path;
    }
    if (system->unreachable) {
        return "partner not reached: destination " + destination + ", host " + system->host;
    }
    if (system->client && !SameIgnoringTrailingBlanks(*system->client, client)) {
        return "logon failed: client " + TrimRight(client) + " is not available in " + system->destination;
    }
    if (system->user && !SameIgnoringTrailingBlanks(*system->user, user)) {
        return "logon failed: user " + TrimRight(user) + " unknown in client " + TrimRight(client);
    }
    if (system->password && !SameIgnoringTrailingBlanks(*system->password, password)) {
        return "logon failed: wrong password for user " + TrimRight(user);
    }
    return "";
}

// A silent system keeps the logon waiting before it answers.
void WaitForLogon(const std::string& destination)
{
    if (!g_scenario.error.empty()) return;
    if (const System* system = FindSystem(g_scenario, destination)) WaitSilently(system->logon_wait);
}

RFC_HANDLE Connect()
{
    RFC_HANDLE handle = g_next_handle++;
    g_connections[handle] = Connection{*CurrentSystem(), ""};
    return handle;
}

std::string ConnectOptionsText(const RFC_OPTIONS& options)
{
    if (options.mode != 0 && options.mode != 1) {
        return "";
    }
    if (options.connopt == nullptr) {
        return " connopt=(null)";
    }
    if (options.mode == 1) {
        const auto* cpic = static_cast<const RFC_CONNOPT_CPIC*>(options.connopt);
        return " gwhost=" + Angled(cpic->gateway_host) + " gwserv=" + Angled(cpic->gateway_service);
    }
    const auto* server = static_cast<const RFC_CONNOPT_R3*>(options.connopt);
    return " host=" + Angled(server->hostname) + " sysnr=" + std::to_string(server->sysnr) +
           " gwhost=" + Angled(server->gateway_host) + " gwserv=" + Angled(server->gateway_service);
}

RFC_HANDLE Open(RFC_OPTIONS* options)
{
    ReadScenario();
    g_current_destination = options != nullptr ? TrimRight(CallerText(options->destination)) : "";
    WaitForLogon(g_current_destination);
    std::string problem;
    bool handler = false;
    if (options == nullptr) {
        problem = "logon failed: no logon options";
    } else if (options->mode != 0 && options->mode != 1) {
        problem = "logon failed: unsupported mode " + std::to_string(options->mode);
    } else if (options->connopt == nullptr) {
        problem = "logon failed: no connection options for mode " + std::to_string(options->mode);
    } else {
        problem = LogonProblem(g_current_destination, CallerText(options->client), CallerText(options->user),
                               CallerText(options->password));
        handler = problem.empty() && HandlerFault("RfcOpen", g_current_destination);
    }
    RFC_HANDLE handle = 0;
    if (!problem.empty()) {
        Fail("RfcOpen", problem);
    } else if (!handler) {
        handle = Connect();
    }
    std::string line = "RfcOpen";
    if (options == nullptr) {
        line += " (null)";
    } else {
        line += " dest=" + Angled(options->destination) + " mode=" + std::to_string(options->mode) +
                " client=" + Angled(options->client) + " user=" + Angled(options->user) +
                " passwd=" + (options->password ? "<" + Masked(CallerText(options->password)) + ">" : Angled(nullptr)) +
                " lang=" + Angled(options->language) +
                ConnectOptionsText(*options) + " trace=" + std::to_string(options->trace);
    }
    Journal(line + " -> " + std::to_string(handle) + HandlerNote(handler));
    if (handler) CallErrorHandler();
    return handle;
}

// The value of KEY= in a connect string of blank-separated KEY=VALUE words.
std::string ConnectValue(const std::string& connect, const std::string& key)
{
    for (const std::string& word : SplitWords(connect)) {
        if (word.starts_with(key + "=")) {
            return word.substr(key.size() + 1);
        }
    }
    return "";
}

RFC_HANDLE OpenEx(char* connect_param, RFC_ERROR_INFO_EX* error_info)
{
    ReadScenario();
    std::string connect = CallerText(connect_param);
    g_current_destination = ConnectValue(connect, "DEST");
    WaitForLogon(g_current_destination);
    std::string problem;
    bool handler = false;
    if (connect_param == nullptr) {
        problem = "logon failed: no connect string";
    } else {
        problem = LogonProblem(g_current_destination, ConnectValue(connect, "CLIENT"), ConnectValue(connect, "USER"),
                               ConnectValue(connect, "PASSWD"));
        handler = problem.empty() && HandlerFault("RfcOpenEx", g_current_destination);
    }
    RFC_HANDLE handle = 0;
    if (!problem.empty()) {
        Fail("RfcOpenEx", problem);
    } else if (!handler) {
        handle = Connect();
    }
    if (error_info != nullptr) {
        std::memset(error_info, 0, sizeof *error_info);
        if (handle == 0) {
            error_info->group = 1;
            CopyToField(error_info->key, sizeof error_info->key, "RFCSIM");
            CopyToField(error_info->message, sizeof error_info->message, g_last_failure.reason);
        }
    }
    Journal("RfcOpenEx " + (connect_param ? "<" + WithPasswordMasked(connect) + ">" : Angled(nullptr)) + " -> " + std::to_string(handle) + HandlerNote(handler));
    if (handler) CallErrorHandler();
    return handle;
}

// ---- Structures ----

std::string FieldText(const RFC_TYPE_ELEMENT& element)
{
    std::string text = (element.name != nullptr ? CallerText(element.name) : "(null)") + ":" +
                       TypeText(element.type) + ":" + std::to_string(element.length);
    if (element.decimals != 0 || element.offset != 0) {
        text += ":" + std::to_string(element.decimals) + ":" + std::to_string(element.offset);
    }
    return text;
}

// Lays the fields out as the library does; empty text when the structure is acceptable.
std::string LayOut(InstalledStructure& structure, RFC_TYPE_ELEMENT* elements, unsigned count)
{
    if (count == 0 || count > kMaxStructureFields) {
        return "a structure has 1 to " + std::to_string(kMaxStructureFields) + " fields, not " + std::to_string(count);
    }
    if (elements == nullptr) {
        return "no field descriptors";
    }
    unsigned offset = 0;
    structure.alignment = 1;
    for (unsigned i = 0; i < count; ++i) {
        const RFC_TYPE_ELEMENT& element = elements[i];
        std::string where = "field " + std::to_string(i + 1);
        if (element.name == nullptr) {
            return where + " has no name";
        }
        unsigned alignment = 1;
        if (const InstalledStructure* inner = FindStructure(element.type)) {
            alignment = inner->alignment;
        } else if (element.type == RFCTYPE_CHAR || element.type == RFCTYPE_DATE || element.type == RFCTYPE_TIME ||
                   element.type == RFCTYPE_INT || element.type == RFCTYPE_INT2) {
            alignment = BuiltinAlignment(element.type);
        } else {
            return where + " has unknown type " + std::to_string(element.type);
        }
        if (element.length == 0) {
            return where + " has length 0";
        }
        offset = (offset + alignment - 1) / alignment * alignment;
        if (element.offset != 0 && element.offset != offset) {
            return where + " has offset " + std::to_string(element.offset) + ", laid out at " + std::to_string(offset);
        }
        structure.fields.push_back(
            InstalledField{CallerText(element.name), element.type, element.length, element.decimals, offset});
        offset += element.length;
        if (alignment > structure.alignment) structure.alignment = alignment;
    }
    structure.size = (offset + structure.alignment - 1) / structure.alignment * structure.alignment;
    return "";
}

RFC_RC InstallStructure(char* name, RFC_TYPE_ELEMENT* elements, unsigned count, RFC_TYPEHANDLE* handle)
{
    std::string structure_name = name != nullptr ? CallerText(name) : "(null)";
    InstalledStructure structure{structure_name, 0, {}, 0, 1};
    RFC_RC rc = RFC_FAILURE;
    bool handler = HandlerFault("RfcInstallStructure", structure_name);
    if (handler) {
        // the handler decides; nothing is installed
    } else if (name == nullptr || handle == nullptr) {
        Fail("RfcInstallStructure", "RfcInstallStructure: no structure name or no handle variable");
    } else if (FaultOn(&Faults::install, structure_name)) {
        Fail("RfcInstallStructure", "RfcInstallStructure " + structure_name + ": fault on demand");
    } else if (std::string problem = LayOut(structure, elements, count); !problem.empty()) {
        Fail("RfcInstallStructure", "RfcInstallStructure " + structure_name + ": " + problem);
    } else {
        structure.handle = kFirstStructureHandle + static_cast<RFC_TYPEHANDLE>(g_structures.size());
        g_structures.push_back(structure);
        *handle = structure.handle;
        rc = RFC_OK;
    }
    std::string line = "RfcInstallStructure " + structure_name;
    if (elements != nullptr && count <= kMaxStructureFields) {
        for (unsigned i = 0; i < count; ++i) {
            line += " " + FieldText(elements[i]);
        }
    }
    line += " -> " + std::to_string(rc);
    if (rc == RFC_OK) line += " handle=" + std::to_string(structure.handle);
    Journal(line + HandlerNote(handler));
    if (handler) CallErrorHandler();
    return rc;
}

// ---- Calls ----

// Trace lines of a forced outcome; its code.
int Force(const ForcedOutcome& outcome)
{
    for (const std::string& line : outcome.trace) {
        Trace(line);
    }
    if (outcome.code != 0) {
        g_last_failure = LastFailure{"forced outcome", outcome.function + " returned " + std::to_string(outcome.code)};
    }
    return outcome.code;
}

RFC_RC Call(RFC_HANDLE h, char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables)
{
    EnsureScenario();
    std::string name = function != nullptr ? CallerText(function, 256) : "(null)";
    auto connection = g_connections.find(h);
    const ModuleDef* module = FindModule(name);
    RFC_RC rc = RFC_FAILURE;
    bool handler = false;
    if (connection != g_connections.end()) {
        connection->second.pending.clear();
    }
    if (connection == g_connections.end()) {
        Fail("RfcCall", "RfcCall: handle " + std::to_string(h) + " is not open");
    } else if (module == nullptr) {
        Fail("RfcCall", "RfcCall: function module " + name + " unknown");
    } else if (HandlerFault("RfcCall", name)) {
        handler = true;
    } else if (std::string problem = CheckParameters("exporting", exporting, module->exporting) +
                                     CheckTables(tables, module->tables);
               !problem.empty()) {
        Fail("RfcCall", name + ": " + problem);
    } else {
        const ForcedOutcome* outcome = FindOutcome(connection->second.system, name);
        rc = outcome != nullptr && outcome->at_call ? Force(*outcome) : RFC_OK;
        if (rc == RFC_OK) connection->second.pending = name;
    }
    Journal("RfcCall " + std::to_string(h) + " " + name + " export=" + ParameterListText(exporting, true) +
            " tables=" + TableListText(tables) + " -> " + std::to_string(rc) + HandlerNote(handler));
    if (handler) CallErrorHandler();
    return rc;
}

RFC_RC Receive(RFC_HANDLE h, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception)
{
    EnsureScenario();
    auto connection = g_connections.find(h);
    std::string name = connection != g_connections.end() ? connection->second.pending : "";
    const ModuleDef* module = FindModule(name);
    RFC_RC rc = RFC_FAILURE;
    bool handler = false;
    bool with_exception = false;
    if (connection != g_connections.end()) {
        connection->second.pending.clear();   // a call is received once
    }
    if (connection == g_connections.end()) {
        Fail("RfcReceive", "RfcReceive: handle " + std::to_string(h) + " is not open");
    } else if (module == nullptr) {
        Fail("RfcReceive", "RfcReceive: no function module called on handle " + std::to_string(h));
    } else if (HandlerFault("RfcReceive", name)) {
        handler = true;
    } else if (std::string problem = CheckParameters("importing", importing, module->importing) +
                                     CheckTables(tables, module->tables);
               !problem.empty()) {
        Fail("RfcReceive", name + ": " + problem);
    } else {
        const System& system = connection->second.system;
        WaitSilently(AnswerWait(system, name));
        const ForcedOutcome* outcome = FindOutcome(system, name);
        rc = outcome != nullptr && !outcome->at_call ? Force(*outcome) : RFC_OK;
        if ((rc == RFC_EXCEPTION || rc == RFC_SYS_EXCEPTION) && exception != nullptr) {
            g_exception = outcome->exception;
            *exception = g_exception.data();
            with_exception = true;
        }
        if (rc == RFC_OK) {
            try {
                FillImporting(*module, system, importing);
                AppendRows(*module, system, tables);
            } catch (const std::bad_alloc&) {
                Fail("RfcReceive", name + ": out of memory for the rows");
                rc = RFC_FAILURE;
            }
        }
    }
    std::string line = "RfcReceive " + std::to_string(h) + " " + (name.empty() ? "(none)" : name) +
                       " import=" + ParameterListText(importing, false) + " tables=" + TableListText(tables) +
                       " -> " + std::to_string(rc);
    if (with_exception) line += " exception=<" + g_exception + ">";
    Journal(line + HandlerNote(handler));
    if (handler) CallErrorHandler();
    return rc;
}

// ---- Internal tables ----

ITAB_H CreateTable(char* name, unsigned row_length, unsigned occurs, unsigned memory)
{
    std::string table_name = name != nullptr ? CallerText(name, 256) : "(null)";
    bool handler = HandlerFault("ItCreate", table_name);
    ITAB_H result = nullptr;
    if (handler) {
        // the handler decides; the table is not made
    } else if (name == nullptr) {
        Fail("ItCreate", "ItCreate: no table name");
    } else if (FaultOn(&Faults::itcreate, table_name)) {
        Fail("ItCreate", "ItCreate " + table_name + ": fault on demand");
    } else {
        auto table = std::make_unique<InternalTable>(InternalTable{table_name, row_length, {}, 0});
        result = table.get();
        g_tables[result] = std::move(table);
    }
    Journal("ItCreate " + table_name + " " + std::to_string(row_length) + " " + std::to_string(occurs) + " " +
            std::to_string(memory) + " -> " + (result != nullptr ? "ok" : "null") + HandlerNote(handler));
    if (handler) CallErrorHandler();
    return result;
}

unsigned FillOf(ITAB_H handle)
{
    const InternalTable* table = FindTable(handle);
    bool handler = HandlerFault("ItFill", TableName(handle));
    unsigned rows = table != nullptr && !handler ? table->row_count : 0;
    Journal("ItFill " + TableName(handle) + " -> " + std::to_string(rows) + HandlerNote(handler));
    if (handler) CallErrorHandler();
    return rows;
}

void* LineOf(ITAB_H handle, unsigned index)
{
    InternalTable* table = FindTable(handle);
    std::string name = TableName(handle);
    bool handler = HandlerFault("ItGetLine", name);
    void* row = nullptr;
    if (handler) {
        // no row
    } else if (table != nullptr && FaultOn(&Faults::itgetline, name)) {
        Fail("ItGetLine", "ItGetLine " + name + ": fault on demand");
    } else if (table != nullptr && index >= 1 && index <= table->row_count) {
        row = table->rows.data() + std::size_t{index - 1} * table->row_length;
    }
    Journal("ItGetLine " + name + " " + std::to_string(index) + " -> " + (row != nullptr ? "ok" : "null") +
            HandlerNote(handler));
    if (handler) CallErrorHandler();
    return row;
}

int DeleteTable(ITAB_H handle)
{
    std::string name = TableName(handle);
    bool handler = HandlerFault("ItDelete", name);
    int rc = 1;
    if (handler) {
        // kept
    } else if (FindTable(handle) == nullptr) {
        Fail("ItDelete", "ItDelete: unknown table handle");
    } else if (FaultOn(&Faults::itdelete, name)) {
        Fail("ItDelete", "ItDelete " + name + ": fault on demand");
    } else {
        g_tables.erase(handle);
        rc = 0;
    }
    Journal("ItDelete " + name + " -> " + std::to_string(rc) + HandlerNote(handler));
    if (handler) CallErrorHandler();
    return rc;
}

// ---- Error record and closing ----

std::string LastErrorText(std::optional<std::string> LastErrorTexts::*text, const std::string& fallback)
{
    const System* system = CurrentSystem();
    if (system != nullptr && system->lasterror.*text) return *(system->lasterror.*text);
    if (g_scenario.lasterror.*text) return *(g_scenario.lasterror.*text);
    return fallback;
}

int LastError(RFC_ERROR_INFO* info)
{
    EnsureScenario();
    int rc = 1;
    if (info != nullptr) {
        bool failed = !g_last_failure.reason.empty();
        CopyToField(info->key, sizeof info->key, LastErrorText(&LastErrorTexts::key, failed ? "RFCSIM" : ""));
        CopyToField(info->status, sizeof info->status,
                    LastErrorText(&LastErrorTexts::status, g_last_failure.operation));
        CopyToField(info->message, sizeof info->message,
                    LastErrorText(&LastErrorTexts::message, g_last_failure.reason));
        CopyToField(info->intstat, sizeof info->intstat, LastErrorText(&LastErrorTexts::intstat, ""));
        rc = 0;
    }
    Journal("RfcLastError -> " + std::to_string(rc));
    return rc;
}

void Close(RFC_HANDLE h)
{
    if (h == 0) {
        g_connections.clear();
    } else {
        g_connections.erase(h);
    }
    Journal("RfcClose " + std::to_string(h));
}

void SetEnvironment(RFC_ENV* env)
{
    if (env == nullptr) {
        Journal("RfcEnvironment (null)");
        return;
    }
    g_error_handler = env->errorhandler;
    Journal(std::string("RfcEnvironment handler=") + (env->errorhandler != nullptr ? "yes" : "no") +
            " allocate=" + (env->allocate != nullptr ? "yes" : "no"));
}

}  // namespace

const InstalledStructure* FindStructure(RFC_TYPEHANDLE handle)
{
    if (handle < kFirstStructureHandle || handle - kFirstStructureHandle >= g_structures.size()) {
        return nullptr;
    }
    return &g_structures[handle - kFirstStructureHandle];
}

InternalTable* FindTable(ITAB_H handle)
{
    auto found = g_tables.find(handle);
    return found != g_tables.end() ? found->second.get() : nullptr;
}

}  // namespace rfcsim

// ---- The exported operations ----
// No exception leaves the library: a caller written in C could not handle it.

RFCSIM_EXPORT void RFC_LIBRARY_CALL RfcEnvironment(RFC_ENV* env)
{
    try {
        rfcsim::SetEnvironment(env);
    } catch (...) {
    }
}

RFCSIM_EXPORT RFC_HANDLE RFC_LIBRARY_CALL RfcOpen(RFC_OPTIONS* options)
{
    try {
        return rfcsim::Open(options);
    } catch (...) {
        return 0;
    }
}

RFCSIM_EXPORT RFC_HANDLE RFC_LIBRARY_CALL RfcOpenEx(char* connect_param, RFC_ERROR_INFO_EX* error_info)
{
    try {
        return rfcsim::OpenEx(connect_param, error_info);
    } catch (...) {
        return 0;
    }
}

RFCSIM_EXPORT RFC_RC RFC_LIBRARY_CALL RfcInstallStructure(char* name, RFC_TYPE_ELEMENT* elements, unsigned count,
                                         RFC_TYPEHANDLE* handle)
{
    try {
        return rfcsim::InstallStructure(name, elements, count, handle);
    } catch (...) {
        return RFC_FAILURE;
    }
}

RFCSIM_EXPORT RFC_RC RFC_LIBRARY_CALL RfcCall(RFC_HANDLE h, char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables)
{
    try {
        return rfcsim::Call(h, function, exporting, tables);
    } catch (...) {
        return RFC_FAILURE;
    }
}

RFCSIM_EXPORT RFC_RC RFC_LIBRARY_CALL RfcReceive(RFC_HANDLE h, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception)
{
    try {
        return rfcsim::Receive(h, importing, tables, exception);
    } catch (...) {
        return RFC_FAILURE;
    }
}

RFCSIM_EXPORT ITAB_H RFC_LIBRARY_CALL ItCreate(char* name, unsigned row_length, unsigned occurs, unsigned memory)
{
    try {
        return rfcsim::CreateTable(name, row_length, occurs, memory);
    } catch (...) {
        return nullptr;
    }
}

RFCSIM_EXPORT unsigned RFC_LIBRARY_CALL ItFill(ITAB_H t)
{
    try {
        return rfcsim::FillOf(t);
    } catch (...) {
        return 0;
    }
}

RFCSIM_EXPORT void* RFC_LIBRARY_CALL ItGetLine(ITAB_H t, unsigned index)
{
    try {
        return rfcsim::LineOf(t, index);
    } catch (...) {
        return nullptr;
    }
}

RFCSIM_EXPORT int RFC_LIBRARY_CALL ItDelete(ITAB_H t)
{
    try {
        return rfcsim::DeleteTable(t);
    } catch (...) {
        return 1;
    }
}

RFCSIM_EXPORT int RFC_LIBRARY_CALL RfcLastError(RFC_ERROR_INFO* info)
{
    try {
        return rfcsim::LastError(info);
    } catch (...) {
        return 1;
    }
}

RFCSIM_EXPORT void RFC_LIBRARY_CALL RfcClose(RFC_HANDLE h)
{
    try {
        rfcsim::Close(h);
    } catch (...) {
    }
}

// The exported operations have exactly the types the sensor looks them up as.
static_assert(std::is_same_v<decltype(&RfcEnvironment), RfcEnvironment_t>);
static_assert(std::is_same_v<decltype(&RfcOpen), RfcOpen_t>);
static_assert(std::is_same_v<decltype(&RfcOpenEx), RfcOpenEx_t>);
static_assert(std::is_same_v<decltype(&RfcInstallStructure), RfcInstallStructure_t>);
static_assert(std::is_same_v<decltype(&RfcCall), RfcCall_t>);
static_assert(std::is_same_v<decltype(&RfcReceive), RfcReceive_t>);
static_assert(std::is_same_v<decltype(&ItCreate), ItCreate_t>);
static_assert(std::is_same_v<decltype(&ItFill), ItFill_t>);
static_assert(std::is_same_v<decltype(&ItGetLine), ItGetLine_t>);
static_assert(std::is_same_v<decltype(&ItDelete), ItDelete_t>);
static_assert(std::is_same_v<decltype(&RfcLastError), RfcLastError_t>);
static_assert(std::is_same_v<decltype(&RfcClose), RfcClose_t>);
