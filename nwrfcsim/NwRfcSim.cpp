// A stand-in for SAP's NetWeaver RFC library: the functions the SpaceWarden
// adapter calls, answered by the simulated systems of rfcsim's scenario
// file (README.md).
#include "NwRfcInterface.h"
#include "Scenario.h"
#include "SystemModel.h"
#include "Text.h"
#include "UcText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <limits>
#include <memory>
#include <optional>
#include <unordered_set>
#include <string>
#include <type_traits>
#include <vector>

#if defined(_WIN32)
#define NWRFCSIM_EXPORT extern "C" __declspec(dllexport)
#else
#define NWRFCSIM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using namespace nw;

namespace nwrfcsim {

using rfcsim::FieldDef;
using rfcsim::ModuleDef;
using rfcsim::ParamDef;
using rfcsim::StructDef;
using rfcsim::System;
using rfcsim::TableDef;

namespace {

const char kTraceFile[] = "Dev_Rfc.Trc";
constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);
constexpr unsigned kMaxParameters = 256;
constexpr unsigned kTypeTable = 5;        // RFCTYPE_TABLE
constexpr unsigned kTypeStructure = 17;   // RFCTYPE_STRUCTURE


std::string RcName(int code)
{
    if (code >= 0 && static_cast<std::size_t>(code) < std::size(kRfcRcNames)) return kRfcRcNames[code];
    return "RFC_RC " + std::to_string(code);
}

RFC_ERROR_GROUP GroupOf(int code)
{
    switch (code) {
        case RFC_OK: return OK;
        case RFC_COMMUNICATION_FAILURE: return COMMUNICATION_FAILURE;
        case RFC_LOGON_FAILURE: return LOGON_FAILURE;
        case RFC_ABAP_RUNTIME_FAILURE:
        case RFC_ABAP_MESSAGE: return ABAP_RUNTIME_FAILURE;
        case RFC_ABAP_EXCEPTION:
        case RFC_ABAP_CLASS_EXCEPTION: return ABAP_APPLICATION_FAILURE;
        case RFC_TABLE_MOVE_BOF:
        case RFC_TABLE_MOVE_EOF: return EXTERNAL_APPLICATION_FAILURE;
        case RFC_AUTHORIZATION_FAILURE: return EXTERNAL_AUTHORIZATION_FAILURE;
        case RFC_AUTHENTICATION_FAILURE: return EXTERNAL_AUTHENTICATION_FAILURE;
        case RFC_CRYPTOLIB_FAILURE: return CRYPTOLIB_FAILURE;
        case RFC_LOCKING_FAILURE: return LOCKING_FAILURE;
        default: return EXTERNAL_RUNTIME_FAILURE;
    }
}

// What a failing call reports besides its code.
struct Failure {
    int code = RFC_OK;
    std::optional<std::string> key;   // none: the code's name
    std::string message;
    std::string abap_class, abap_type, abap_number, abap_v1;
};

RFC_RC Report(RFC_ERROR_INFO* info, const Failure& failure)
{
    if (info != nullptr) {
        std::memset(info, 0, sizeof *info);
        info->code = static_cast<RFC_RC>(failure.code);
        info->group = GroupOf(failure.code);
        CopyUc(info->key, std::size(info->key), Uc(failure.key ? *failure.key : RcName(failure.code)));
        CopyUc(info->message, std::size(info->message), Uc(failure.message));
        CopyUc(info->abapMsgClass, std::size(info->abapMsgClass), Uc(failure.abap_class));
        CopyUc(info->abapMsgType, std::size(info->abapMsgType), Uc(failure.abap_type));
        CopyUc(info->abapMsgNumber, std::size(info->abapMsgNumber), Uc(failure.abap_number));
        CopyUc(info->abapMsgV1, std::size(info->abapMsgV1), Uc(failure.abap_v1));
    }
    return static_cast<RFC_RC>(failure.code);
}

RFC_RC Fail(RFC_ERROR_INFO* info, int code, const std::string& message)
{
    Failure failure;
    failure.code = code;
    failure.message = message;
    return Report(info, failure);
}

// A successful call clears the record: code and group OK, every text empty.
RFC_RC Succeed(RFC_ERROR_INFO* info)
{
    if (info != nullptr) {
        info->code = RFC_OK;
        info->group = OK;
        for (SAP_UC* text : {info->key, info->message, info->abapMsgClass, info->abapMsgType, info->abapMsgNumber,
                             info->abapMsgV1, info->abapMsgV2, info->abapMsgV3, info->abapMsgV4}) {
            text[0] = 0;
        }
    }
    return RFC_OK;
}

// ---- Journal and trace file ----

// The journal goes through a buffer that is written out at every logon and
// close, and when the process ends.
struct JournalFile {
    std::string path;
    std::FILE* file = nullptr;
    ~JournalFile() { Close(); }
    void Close()
    {
        if (file != nullptr) std::fclose(file);
        file = nullptr;
    }
};

JournalFile g_journal;

// NWRFCSIM_JOURNAL is read at every logon, like the scenario.
void OpenJournal()
{
    const char* named = std::getenv("NWRFCSIM_JOURNAL");
    if (named == nullptr) named = "";
    if (g_journal.path != named) {
        g_journal.Close();
        g_journal.path = named;
        if (*named != '\0') g_journal.file = std::fopen(named, "ab");
    }
}

std::FILE* JournalFile()
{
    return g_journal.file;
}

// Appends the line that `line` makes; it is made only when there is a journal.
template <typename MakeLine>
void Journal(MakeLine&& line)
{
    if (std::FILE* file = JournalFile()) {
        std::string text = line();
        std::fputs(text.c_str(), file);
        std::fputc('\n', file);
    }
}

void FlushJournal()
{
    if (g_journal.file != nullptr) std::fflush(g_journal.file);
}

std::string Result(RFC_RC rc)
{
    return " -> " + RcName(rc);
}

// Text mode: CR LF line ends on Windows, as a library writes its trace there.
void Trace(const std::string& line)
{
    std::FILE* file = std::fopen(kTraceFile, "a");
    if (file == nullptr) return;
    std::fputs(line.c_str(), file);
    std::fputc('\n', file);
    std::fclose(file);
}

// ---- Scenario and connections ----

rfcsim::Scenario g_scenario;

struct Connection {
    unsigned number;
    System system;
    bool open = true;   // false once a failure has closed it
};

std::map<const void*, std::unique_ptr<Connection>> g_connections;
unsigned g_next_connection = 1;

Connection* FindConnection(RFC_CONNECTION_HANDLE handle)
{
    auto found = g_connections.find(handle);
    return found != g_connections.end() ? found->second.get() : nullptr;
}

std::string ConnectionText(RFC_CONNECTION_HANDLE handle)
{
    Connection* connection = FindConnection(handle);
    return connection != nullptr ? std::to_string(connection->number) : "(invalid)";
}

Failure InvalidHandle(const char* kind)
{
    Failure failure;
    failure.code = RFC_INVALID_HANDLE;
    failure.message = std::string("An invalid handle '") + kind + "' was passed to the API call";
    return failure;
}

// A name the caller passed, as the journal shows it; names of printable
// ASCII, the usual ones, without a detour.
std::string NameOf(const SAP_UC* name)
{
    std::string text;
    for (const SAP_UC* unit = name; unit != nullptr && *unit != 0 && text.size() < 1024; ++unit) {
        if (*unit < 0x20 || *unit >= 0x7F) return Shown(CallerUc(name));
        text.push_back(static_cast<char>(*unit));
    }
    return text;
}

// ---- Data containers ----

struct Container;

struct Field {
    std::string name;
    unsigned type;      // a FieldType, kTypeStructure or kTypeTable
    unsigned length;    // characters of CHAR, DATE and TIME
    UcString chars;
    int number = 0;
    std::unique_ptr<Container> inner;   // structure or table
};

struct Container;

// The handle of a table's row: rows are made from their number when they are read.
struct RowHandle {
    const Container* table;
    std::size_t row;
};

struct Container {
    enum Kind { kFunction, kStructure, kTable } kind;
    std::string label;                   // for the journal
    const ModuleDef* module = nullptr;   // kFunction
    std::vector<Field> fields;           // kFunction, kStructure
    // kTable: rows are made from the row type and their number, on demand.
    const StructDef* row_type = nullptr;
    unsigned row_count = 0;
    // The named rows of the system that answered (a copy: the scenario may be read again meanwhile).
    rfcsim::System answered;
    std::size_t cursor = kNoRow;
    std::vector<RowHandle> row_handles;   // one per row, made at the first RfcGetCurrentRow
};

std::unordered_set<const void*> g_live;
std::unordered_set<const Container*> g_live_tables;

DATA_CONTAINER_HANDLE HandleOf(Container* container)
{
    return reinterpret_cast<DATA_CONTAINER_HANDLE>(container);
}

Container* Live(DATA_CONTAINER_HANDLE handle)
{
    return g_live.count(handle) != 0 ? reinterpret_cast<Container*>(handle) : nullptr;
}

// The row a handle is, or null: a handle inside the row handles of a live table.
const RowHandle* LiveRow(DATA_CONTAINER_HANDLE handle)
{
    auto address = reinterpret_cast<std::uintptr_t>(handle);
    for (const Container* table : g_live_tables) {
        const std::vector<RowHandle>& rows = table->row_handles;
        if (rows.empty()) continue;
        auto first = reinterpret_cast<std::uintptr_t>(rows.data());
        auto end = reinterpret_cast<std::uintptr_t>(rows.data() + rows.size());
        if (address >= first && address < end && (address - first) % sizeof(RowHandle) == 0) {
            return reinterpret_cast<const RowHandle*>(handle);
        }
    }
    return nullptr;
}

std::string LabelOf(DATA_CONTAINER_HANDLE handle)
{
    if (Container* container = Live(handle)) return container->label;
    if (const RowHandle* row = LiveRow(handle)) return row->table->label + "[" + std::to_string(row->row) + "]";
    return "(invalid)";
}

void Forget(Container& container)
{
    g_live.erase(&container);
    g_live_tables.erase(&container);
    for (Field& field : container.fields) {
        if (field.inner) Forget(*field.inner);
    }
}

std::unique_ptr<Container> MakeStructure(const StructDef& structure, const std::string& label)
{
    auto container = std::make_unique<Container>();
    container->kind = Container::kStructure;
    container->label = label;
    for (const FieldDef& def : structure.fields) {
        Field field{def.name, def.type, def.length, {}, 0, nullptr};
        if (def.type == rfcsim::kTypeChar) field.chars.assign(def.length, u' ');
        if (def.type == rfcsim::kTypeDate || def.type == rfcsim::kTypeTime) field.chars.assign(def.length, u'0');
        container->fields.push_back(std::move(field));
    }
    g_live.insert(container.get());
    return container;
}

Field FieldOfParameter(const ParamDef& param, const std::string& module)
{
    Field field{param.name, param.type, param.length, {}, 0, nullptr};
    if (param.structure != nullptr) {
        field.type = kTypeStructure;
        field.inner = MakeStructure(*param.structure, module + "." + param.name);
    } else if (param.type == rfcsim::kTypeChar) {
        field.chars.assign(param.length, u' ');
    } else if (param.type == rfcsim::kTypeDate || param.type == rfcsim::kTypeTime) {
        field.chars.assign(param.length, u'0');
    }
    return field;
}

std::unique_ptr<Container> MakeFunction(const ModuleDef& module)
{
    auto function = std::make_unique<Container>();
    function->kind = Container::kFunction;
    function->label = module.name;
    function->module = &module;
    for (const ParamDef& param : module.exporting) function->fields.push_back(FieldOfParameter(param, module.name));
    for (const ParamDef& param : module.importing) function->fields.push_back(FieldOfParameter(param, module.name));
    for (const TableDef& table : module.tables) {
        Field field{table.name, kTypeTable, 0, {}, 0, std::make_unique<Container>()};
        field.inner->kind = Container::kTable;
        field.inner->label = std::string(module.name) + "." + table.name;
        field.inner->row_type = table.structure;
        g_live.insert(field.inner.get());
        g_live_tables.insert(field.inner.get());
        function->fields.push_back(std::move(field));
    }
    g_live.insert(function.get());
    return function;
}

std::map<const void*, std::unique_ptr<Container>> g_functions;

// A field as the getters see it; rows are computed from their number.
struct FieldView {
    const char* problem = nullptr;   // why there is none
    unsigned type = 0;
    unsigned length = 0;
    UcString chars;
    int number = 0;
    Container* inner = nullptr;
    Field* stored = nullptr;         // null for the fields of a table row
};

FieldView View(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, Failure& failure)
{
    FieldView view;
    Container* container = Live(handle);
    const RowHandle* row_handle = container == nullptr ? LiveRow(handle) : nullptr;
    if (container == nullptr && row_handle == nullptr) {
        failure = InvalidHandle("DATA_CONTAINER_HANDLE");
        view.problem = "handle";
        return view;
    }
    std::string wanted = NameOf(name);
    const Container* table = nullptr;
    std::size_t row = 0;
    if (row_handle != nullptr) {
        table = row_handle->table;
        row = row_handle->row;
    } else if (container->kind == Container::kTable) {   // a table handle addresses its current row
        if (container->cursor == kNoRow) {
            failure.code = RFC_ILLEGAL_STATE;
            failure.message = "table " + container->label + " has no current row";
            view.problem = "row";
            return view;
        }
        table = container;
        row = container->cursor;
    }
    if (table != nullptr) {
        const StructDef& type = *table->row_type;
        int index = rfcsim::FindField(type, wanted);
        if (index >= 0) {
            const FieldDef& def = type.fields[static_cast<std::size_t>(index)];
            view.type = def.type;
            view.length = def.length;
            bool number = def.type == rfcsim::kTypeInt || def.type == rfcsim::kTypeInt2;
            unsigned row_number = static_cast<unsigned>(row + 1);
            if (number) {
                view.number =
                    rfcsim::RowFieldNumber(table->answered, type, static_cast<std::size_t>(index), row_number);
            } else {
                view.chars =
                    Uc(rfcsim::RowFieldText(table->answered, type, static_cast<std::size_t>(index), row_number));
            }
            return view;
        }
    } else {
        for (Field& field : container->fields) {
            if (field.name == wanted) {
                view.type = field.type;
                view.length = field.length;
                view.chars = field.chars;
                view.number = field.number;
                view.inner = field.inner.get();
                view.stored = &field;
                return view;
            }
        }
    }
    failure.code = RFC_INVALID_PARAMETER;
    failure.message = "field '" + wanted + "' not found";
    view.problem = "name";
    return view;
}

bool IsChars(unsigned type)
{
    return type == rfcsim::kTypeChar || type == rfcsim::kTypeDate || type == rfcsim::kTypeTime;
}

bool IsNumber(unsigned type)
{
    return type == rfcsim::kTypeInt || type == rfcsim::kTypeInt2;
}

const char* TypeName(unsigned type)
{
    switch (type) {
        case rfcsim::kTypeChar: return "CHAR";
        case rfcsim::kTypeDate: return "DATE";
        case rfcsim::kTypeTime: return "TIME";
        case rfcsim::kTypeInt: return "INT";
        case rfcsim::kTypeInt2: return "INT2";
        case kTypeStructure: return "STRUCTURE";
        case kTypeTable: return "TABLE";
        default: return "?";
    }
}

Failure Unconvertible(const std::string& field, unsigned type, const char* wanted)
{
    Failure failure;
    failure.code = RFC_CONVERSION_FAILURE;
    failure.message = "field '" + field + "' of type " + TypeName(type) + " cannot be read as " + wanted;
    return failure;
}

// A whole-text decimal number, blanks around it allowed.
bool ParseNumber(const UcString& text, long long& value)
{
    std::string ascii;
    for (SAP_UC unit : text) {
        if (unit >= 0x80) return false;
        ascii.push_back(static_cast<char>(unit));
    }
    std::string trimmed = rfcsim::Trim(ascii);
    if (trimmed.empty()) {
        value = 0;
        return true;
    }
    return rfcsim::ParseInt(trimmed, value);
}

// ---- Logon ----

// The comm-failure block the library reports when the partner cannot be reached.
std::string NotReached(const std::string& partner)
{
    char time_text[64] = "";
    std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now)) std::strftime(time_text, sizeof time_text, "%a %b %d %H:%M:%S %Y", local);
    return "\nLOCATION    CPIC (TCP/IP) on local host with Unicode"
           "\nERROR       partner '" + partner + "' not reached"
           "\nTIME        " + std::string(time_text) +
           "\nRELEASE     750"
           "\nCOMPONENT   NI (network interface)"
           "\nVERSION     40"
           "\nRC          -10"
           "\nMODULE      nixxi.cpp"
           "\nLINE        3286"
           "\nDETAIL      NiPConnect2: " + partner +
           "\nSYSTEM CALL connect"
           "\nERRNO       111"
           "\nERRNO TEXT  Connection refused"
           "\nCOUNTER     1";
}

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return Lower(a) == Lower(b);
}

// Logon parameters by lower-case name, as the journal shows their values.
using LogonParameters = std::map<std::string, std::string>;

// A text of the scenario in the form of a logon parameter's value.
std::string AsGiven(const std::string& text)
{
    return Shown(Uc(text));
}

// Why a logon fails; an empty failure (code RFC_OK) when it succeeds. Sets
// `system` to the selected system.
Failure LogonProblem(const LogonParameters& parameters, const System*& system)
{
    auto value = [&](const char* name) -> std::string {
        auto found = parameters.find(name);
        return found != parameters.end() ? found->second : "";
    };
    auto given = [&](const char* name) { return parameters.count(name) != 0; };
    Failure failure;
    system = nullptr;
    if (!g_scenario.error.empty()) {
        failure.code = RFC_EXTERNAL_FAILURE;
        failure.message = g_scenario.error;
        return failure;
    }
    if (given("dest")) {
        failure.code = RFC_INVALID_PARAMETER;
        failure.message = "Parameter DEST=" + value("dest") + ": no sapnwrfc.ini in reach of this library";
        return failure;
    }
    std::string partner;
    if (given("ashost") || (!given("mshost") && given("gwhost"))) {
        std::string host = given("ashost") ? value("ashost") : value("gwhost");
        std::string sysnr = value("sysnr");
        if (sysnr.size() != 2 || sysnr[0] < '0' || sysnr[0] > '9' || sysnr[1] < '0' || sysnr[1] > '9') {
            failure.code = RFC_INVALID_PARAMETER;
            failure.message = "Parameter SYSNR '" + sysnr + "' is not a two-digit system number";
            return failure;
        }
        partner = host + ":33" + sysnr;
        for (const System& each : g_scenario.systems) {
            if (SameIgnoringCase(AsGiven(each.host), host)) {
                system = &each;
                break;
            }
        }
    } else if (given("mshost")) {
        std::string sysid = given("sysid") ? value("sysid") : value("r3name");
        if (sysid.empty()) {
            failure.code = RFC_INVALID_PARAMETER;
            failure.message = "Parameter SYSID or R3NAME is missing.";
            return failure;
        }
        partner = value("mshost") + ":sapms" + sysid;
        for (const System& each : g_scenario.systems) {
            if (SameIgnoringCase(AsGiven(each.destination), sysid)) {
                system = &each;
                break;
            }
        }
    } else {
        failure.code = RFC_INVALID_PARAMETER;
        failure.message = "Parameter ASHOST, GWHOST, MSHOST or PORT is missing.";
        return failure;
    }
    if (system == nullptr || system->unreachable) {
        system = nullptr;
        failure.code = RFC_COMMUNICATION_FAILURE;
        failure.message = NotReached(partner);
        return failure;
    }
    if (system->client && !rfcsim::SameIgnoringTrailingBlanks(AsGiven(*system->client), value("client"))) {
        failure.code = RFC_LOGON_FAILURE;
        failure.message = "Client " + value("client") + " is not available in this system";
        return failure;
    }
    if ((system->user && AsGiven(*system->user) != value("user")) ||
        (system->password && AsGiven(*system->password) != value("passwd"))) {
        failure.code = RFC_LOGON_FAILURE;
        failure.message = "Name or password is incorrect (repeat logon)";
        return failure;
    }
    return failure;
}

RFC_CONNECTION_HANDLE Open(const RFC_CONNECTION_PARAMETER* params, unsigned count, RFC_ERROR_INFO* info)
{
    g_scenario = rfcsim::LoadScenario(std::getenv("RFCSIM_SCENARIO"));
    OpenJournal();
    std::string line = "RfcOpenConnection";
    LogonParameters parameters;
    Failure failure;
    if (params == nullptr && count > 0) {
        failure.code = RFC_INVALID_PARAMETER;
        failure.message = "no connection parameters";
    }
    for (unsigned i = 0; params != nullptr && i < count && i < kMaxParameters; ++i) {
        std::string name = Shown(CallerUc(params[i].name));
        std::string value = params[i].value != nullptr ? Shown(CallerUc(params[i].value)) : "";
        const std::string shown = Lower(name) == "passwd" ? rfcsim::Masked(value) : value;
        line += " " + name + "=" + (params[i].value != nullptr ? "<" + shown + ">" : "(null)");
        if (failure.code != RFC_OK) continue;
        if (params[i].name == nullptr || params[i].value == nullptr) {
            failure.code = RFC_INVALID_PARAMETER;
            failure.message = "connection parameter " + std::to_string(i + 1) + " has no name or no value";
        } else if (!parameters.emplace(Lower(name), value).second) {
            failure.code = RFC_INVALID_PARAMETER;
            failure.message = "Parameter " + name + " is given twice";
        }
    }
    const System* system = nullptr;
    if (failure.code == RFC_OK) failure = LogonProblem(parameters, system);
    if (system != nullptr) rfcsim::WaitSilently(system->logon_wait);   // a silent system
    RFC_CONNECTION_HANDLE handle = nullptr;
    if (failure.code != RFC_OK) {
        Report(info, failure);
        line += " -> NULL " + RcName(failure.code);
    } else {
        auto connection = std::make_unique<Connection>(Connection{g_next_connection++, *system, true});
        handle = reinterpret_cast<RFC_CONNECTION_HANDLE>(connection.get());
        line += " -> " + std::to_string(connection->number);
        g_connections[handle] = std::move(connection);
        Succeed(info);
    }
    Journal([&] { return line; });
    FlushJournal();
    return handle;
}

RFC_RC Close(RFC_CONNECTION_HANDLE handle, RFC_ERROR_INFO* info)
{
    std::string shown = ConnectionText(handle);
    RFC_RC rc = g_connections.erase(handle) != 0 ? Succeed(info) : Report(info, InvalidHandle("RFC_CONNECTION_HANDLE"));
    Journal([&] { return "RfcCloseConnection " + shown + Result(rc); });
    FlushJournal();
    return rc;
}

// ---- Function modules ----

// A forced outcome of the scenario as the library reports it: its trace
// lines are the message; the code selects the return code (README.md).
Failure ForcedFailure(const rfcsim::ForcedOutcome& outcome, bool at_lookup)
{
    Failure failure;
    std::string message;
    for (const std::string& line : outcome.trace) {
        message += (message.empty() ? "" : "\n") + line;
    }
    failure.message = message;
    switch (outcome.code) {
        case 1: failure.code = RFC_COMMUNICATION_FAILURE; break;
        case 2:
            failure.code = RFC_ABAP_EXCEPTION;
            failure.key = outcome.exception.empty() && at_lookup ? "FU_NOT_FOUND" : outcome.exception;
            break;
        case 3:
            failure.code = RFC_ABAP_RUNTIME_FAILURE;
            failure.key = outcome.exception.empty() ? "SYSTEM_FAILURE" : outcome.exception;
            break;
        default:
            failure.code = outcome.code >= 4 ? outcome.code : RFC_UNKNOWN_ERROR;
            if (!outcome.exception.empty()) failure.key = outcome.exception;
            if (failure.code == RFC_ABAP_MESSAGE) {
                failure.abap_class = "00";
                failure.abap_type = "E";
                failure.abap_number = "001";
                failure.abap_v1 = outcome.exception;
            }
            break;
    }
    return failure;
}

bool ClosesConnection(int code)
{
    return code == RFC_COMMUNICATION_FAILURE || code == RFC_ABAP_RUNTIME_FAILURE || code == RFC_ABAP_MESSAGE;
}

void WriteTraceLines(const rfcsim::ForcedOutcome& outcome)
{
    for (const std::string& line : outcome.trace) Trace(line);
}

RFC_FUNCTION_DESC_HANDLE DescriptionOf(const ModuleDef& module)
{
    return reinterpret_cast<RFC_FUNCTION_DESC_HANDLE>(const_cast<ModuleDef*>(&module));
}

const ModuleDef* ModuleOf(RFC_FUNCTION_DESC_HANDLE handle)
{
    for (const ModuleDef& module : rfcsim::Modules()) {
        if (DescriptionOf(module) == handle) return &module;
    }
    return nullptr;
}

RFC_FUNCTION_DESC_HANDLE GetFunctionDesc(RFC_CONNECTION_HANDLE handle, const SAP_UC* name, RFC_ERROR_INFO* info)
{
    std::string wanted = NameOf(name);
    Connection* connection = FindConnection(handle);
    const ModuleDef* module = rfcsim::FindModule(wanted);
    RFC_FUNCTION_DESC_HANDLE desc = nullptr;
    RFC_RC rc = RFC_OK;
    if (connection == nullptr || !connection->open) {
        rc = Report(info, InvalidHandle("RFC_CONNECTION_HANDLE"));
    } else if (module == nullptr) {
        Failure failure;
        failure.code = RFC_ABAP_EXCEPTION;
        failure.key = "FU_NOT_FOUND";
        failure.message = "ID:FL Type:E Number:046 " + wanted;
        failure.abap_class = "FL";
        failure.abap_type = "E";
        failure.abap_number = "046";
        failure.abap_v1 = wanted;
        rc = Report(info, failure);
    } else if (const rfcsim::ForcedOutcome* outcome = rfcsim::FindOutcome(connection->system, module->name);
               outcome != nullptr && outcome->at_call && outcome->code != 0) {
        Failure failure = ForcedFailure(*outcome, true);
        rc = Report(info, failure);
        if (ClosesConnection(failure.code)) connection->open = false;
    } else {
        if (outcome != nullptr && outcome->at_call) WriteTraceLines(*outcome);
        desc = DescriptionOf(*module);
        Succeed(info);
    }
    Journal([&] { return "RfcGetFunctionDesc " + ConnectionText(handle) + " " + wanted +
            (desc != nullptr ? std::string(" -> ok") : " -> NULL " + RcName(rc)); });
    return desc;
}

RFC_FUNCTION_HANDLE CreateFunction(RFC_FUNCTION_DESC_HANDLE desc, RFC_ERROR_INFO* info)
{
    const ModuleDef* module = ModuleOf(desc);
    RFC_FUNCTION_HANDLE handle = nullptr;
    if (module == nullptr) {
        Report(info, InvalidHandle("RFC_FUNCTION_DESC_HANDLE"));
    } else {
        std::unique_ptr<Container> function = MakeFunction(*module);
        handle = HandleOf(function.get());
        g_functions[handle] = std::move(function);
        Succeed(info);
    }
    Journal([&] { return std::string("RfcCreateFunction ") + (module != nullptr ? module->name : "(invalid)") +
            (handle != nullptr ? " -> ok" : " -> NULL RFC_INVALID_HANDLE"); });
    return handle;
}

RFC_RC DestroyFunction(RFC_FUNCTION_HANDLE handle, RFC_ERROR_INFO* info)
{
    std::string label = LabelOf(handle);
    auto found = g_functions.find(handle);
    RFC_RC rc;
    if (found == g_functions.end()) {
        rc = Report(info, InvalidHandle("RFC_FUNCTION_HANDLE"));
    } else {
        Forget(*found->second);
        g_functions.erase(found);
        rc = Succeed(info);
    }
    Journal([&] { return "RfcDestroyFunction " + label + Result(rc); });
    return rc;
}

Field* StoredField(Container& container, const char* name)
{
    for (Field& field : container.fields) {
        if (field.name == name) return &field;
    }
    return nullptr;
}

// The system's answer in the function's importing parameters and tables.
void Answer(Container& function, const System& system)
{
    const ModuleDef& module = *function.module;
    for (const ParamDef& param : module.importing) {
        Field& field = *StoredField(function, param.name);
        if (param.structure != nullptr) {
            for (std::size_t i = 0; i < param.structure->fields.size(); ++i) {
                Field& inner = field.inner->fields[i];
                if (IsNumber(inner.type)) {
                    inner.number = rfcsim::ParameterFieldNumber(param, i, system);
                } else {
                    inner.chars = Uc(rfcsim::ParameterFieldText(param, i, system));
                }
            }
        } else if (IsNumber(param.type)) {
            field.number = rfcsim::ParameterNumber(param, system);
        } else {
            field.chars = Uc(rfcsim::ParameterText(param, system));
        }
    }
    for (const TableDef& table : module.tables) {
        Container& rows = *StoredField(function, table.name)->inner;
        unsigned more = rfcsim::RowsFor(table, system);
        rows.answered.named_rows = system.named_rows;
        rows.row_count = more > rfcsim::kMaxRows - rows.row_count ? rfcsim::kMaxRows : rows.row_count + more;
    }
}

// An exporting value the module insists on; empty text when it is there.
std::string RequiredValueProblem(Container& function)
{
    for (const ParamDef& param : function.module->exporting) {
        if (param.required_value == nullptr) continue;
        const Field& field = *StoredField(function, param.name);
        if (Shown(field.chars) != param.required_value) {
            return std::string(function.module->name) + ": " + param.name + " is <" + Shown(field.chars) +
                   ">, expected <" + param.required_value + ">";
        }
    }
    return "";
}

// The module's answer on an open connection: after a silent system's wait,
// the forced outcome or the normal answer.
RFC_RC Answered(Connection& connection, Container& function, RFC_ERROR_INFO* info)
{
    rfcsim::WaitSilently(rfcsim::AnswerWait(connection.system, function.module->name));
    const rfcsim::ForcedOutcome* outcome = rfcsim::FindOutcome(connection.system, function.module->name);
    if (outcome != nullptr && !outcome->at_call && outcome->code != 0) {
        Failure failure = ForcedFailure(*outcome, false);
        RFC_RC rc = Report(info, failure);
        if (ClosesConnection(failure.code)) connection.open = false;
        return rc;
    }
    if (outcome != nullptr && !outcome->at_call) WriteTraceLines(*outcome);
    Answer(function, connection.system);
    return Succeed(info);
}

RFC_RC Invoke(RFC_CONNECTION_HANDLE handle, RFC_FUNCTION_HANDLE function_handle, RFC_ERROR_INFO* info)
{
    Connection* connection = FindConnection(handle);
    auto found = g_functions.find(function_handle);
    RFC_RC rc;
    if (connection == nullptr || !connection->open) {
        rc = Report(info, InvalidHandle("RFC_CONNECTION_HANDLE"));
    } else if (found == g_functions.end()) {
        rc = Report(info, InvalidHandle("RFC_FUNCTION_HANDLE"));
    } else if (std::string problem = RequiredValueProblem(*found->second); !problem.empty()) {
        rc = Fail(info, RFC_INVALID_PARAMETER, problem);
    } else {
        rc = Answered(*connection, *found->second, info);
    }
    Journal([&] { return "RfcInvoke " + ConnectionText(handle) + " " + LabelOf(function_handle) + Result(rc); });
    return rc;
}

// ---- Field access ----

RFC_RC SetChars(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, const RFC_CHAR* value, unsigned length,
                RFC_ERROR_INFO* info)
{
    Failure failure;
    FieldView view = View(handle, name, failure);
    UcString text = value != nullptr ? UcString(value, length) : UcString();
    RFC_RC rc = RFC_OK;
    if (view.problem != nullptr) {
        rc = Report(info, failure);
    } else if (view.stored == nullptr) {
        rc = Fail(info, RFC_ILLEGAL_STATE, "the rows of " + LabelOf(handle) + " cannot be changed");
    } else if (value == nullptr && length > 0) {
        rc = Fail(info, RFC_INVALID_PARAMETER, "no value for field '" + view.stored->name + "'");
    } else if (IsChars(view.type)) {
        if (text.size() > view.length || (view.type != rfcsim::kTypeChar && text.size() != view.length)) {
            rc = Fail(info, RFC_CONVERSION_FAILURE,
                      "value of " + std::to_string(text.size()) + " characters does not fit field '" +
                          view.stored->name + "' of type " + TypeName(view.type) + " and length " +
                          std::to_string(view.length));
        } else {
            view.stored->chars = text;
            view.stored->chars.resize(view.length, u' ');
            rc = Succeed(info);
        }
    } else if (IsNumber(view.type)) {
        long long number = 0;
        bool fits = ParseNumber(text, number) &&
                    (view.type == rfcsim::kTypeInt ? number >= -2147483648LL && number <= 2147483647LL
                                                  : number >= -32768 && number <= 32767);
        if (!fits) {
            rc = Fail(info, RFC_CONVERSION_FAILURE, "'" + Shown(text) + "' is no value for field '" +
                                                        view.stored->name + "' of type " + TypeName(view.type));
        } else {
            view.stored->number = static_cast<int>(number);
            rc = Succeed(info);
        }
    } else {
        rc = Report(info, Unconvertible(view.stored->name, view.type, "characters"));
    }
    Journal([&] { return "RfcSetChars " + LabelOf(handle) + " " + NameOf(name) + " <" + Shown(text) + ">" + Result(rc); });
    return rc;
}

RFC_RC GetChars(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, RFC_CHAR* buffer, unsigned length,
                RFC_ERROR_INFO* info)
{
    Failure failure;
    FieldView view = View(handle, name, failure);
    std::string wanted = NameOf(name);
    UcString text;
    RFC_RC rc = RFC_OK;
    if (view.problem != nullptr) {
        rc = Report(info, failure);
    } else if (buffer == nullptr) {
        rc = Fail(info, RFC_INVALID_PARAMETER, "no buffer for field '" + wanted + "'");
    } else if (IsChars(view.type) || IsNumber(view.type)) {
        if (IsNumber(view.type)) {
            std::string digits = std::to_string(view.number);
            text.assign(digits.begin(), digits.end());
        } else {
            text = view.chars;
        }
        std::size_t copied = text.size() < length ? text.size() : length;
        for (std::size_t i = 0; i < length; ++i) buffer[i] = i < copied ? text[i] : u' ';
        if (text.size() > length) {
            rc = Fail(info, RFC_BUFFER_TOO_SMALL, "field '" + wanted + "' has " + std::to_string(text.size()) +
                                                      " characters, the buffer " + std::to_string(length));
        } else {
            rc = Succeed(info);
        }
    } else {
        rc = Report(info, Unconvertible(wanted, view.type, "characters"));
    }
    Journal([&] { return "RfcGetChars " + LabelOf(handle) + " " + wanted + " " + std::to_string(length) + Result(rc) +
            (rc == RFC_OK ? " <" + Shown(text) + ">" : ""); });
    return rc;
}

template <typename Number>
RFC_RC GetNumber(const char* operation, DATA_CONTAINER_HANDLE handle, const SAP_UC* name, Number* value,
                 RFC_ERROR_INFO* info)
{
    Failure failure;
    FieldView view = View(handle, name, failure);
    std::string wanted = NameOf(name);
    const char* kind = sizeof(Number) == 2 ? "INT2" : "INT";
    long long number = 0;
    RFC_RC rc = RFC_OK;
    if (view.problem != nullptr) {
        rc = Report(info, failure);
    } else if (value == nullptr) {
        rc = Fail(info, RFC_INVALID_PARAMETER, "no value for field '" + wanted + "'");
    } else if (IsNumber(view.type)) {
        number = view.number;
    } else if (view.type == rfcsim::kTypeChar) {
        if (!ParseNumber(view.chars, number)) rc = Report(info, Unconvertible(wanted, view.type, kind));
    } else {
        rc = Report(info, Unconvertible(wanted, view.type, kind));
    }
    if (rc == RFC_OK) {
        if (number < std::numeric_limits<Number>::min() || number > std::numeric_limits<Number>::max()) {
            rc = Fail(info, RFC_CONVERSION_FAILURE, "value " + std::to_string(number) + " of field '" + wanted +
                                                        "' does not fit " + kind);
        } else {
            *value = static_cast<Number>(number);
            rc = Succeed(info);
        }
    }
    Journal([&] { return std::string(operation) + " " + LabelOf(handle) + " " + wanted + Result(rc) +
            (rc == RFC_OK ? " " + std::to_string(number) : ""); });
    return rc;
}

RFC_RC GetDateOrTime(const char* operation, unsigned type, DATA_CONTAINER_HANDLE handle, const SAP_UC* name,
                     RFC_CHAR* buffer, RFC_ERROR_INFO* info)
{
    Failure failure;
    FieldView view = View(handle, name, failure);
    std::string wanted = NameOf(name);
    RFC_RC rc;
    if (view.problem != nullptr) {
        rc = Report(info, failure);
    } else if (view.type != type) {
        rc = Report(info, Unconvertible(wanted, view.type, TypeName(type)));
    } else if (buffer == nullptr) {
        rc = Fail(info, RFC_INVALID_PARAMETER, "no buffer for field '" + wanted + "'");
    } else {
        for (std::size_t i = 0; i < view.chars.size(); ++i) buffer[i] = view.chars[i];
        rc = Succeed(info);
    }
    Journal([&] { return std::string(operation) + " " + LabelOf(handle) + " " + wanted + Result(rc) +
            (rc == RFC_OK ? " <" + Shown(view.chars) + ">" : ""); });
    return rc;
}

RFC_RC GetInner(const char* operation, unsigned type, DATA_CONTAINER_HANDLE handle, const SAP_UC* name,
                DATA_CONTAINER_HANDLE* inner, RFC_ERROR_INFO* info)
{
    Failure failure;
    FieldView view = View(handle, name, failure);
    std::string wanted = NameOf(name);
    RFC_RC rc;
    if (view.problem != nullptr) {
        rc = Report(info, failure);
    } else if (view.type != type || view.inner == nullptr) {
        rc = Report(info, Unconvertible(wanted, view.type, TypeName(type)));
    } else if (inner == nullptr) {
        rc = Fail(info, RFC_INVALID_PARAMETER, "no handle variable for field '" + wanted + "'");
    } else {
        *inner = HandleOf(view.inner);
        rc = Succeed(info);
    }
    Journal([&] { return std::string(operation) + " " + LabelOf(handle) + " " + wanted + Result(rc); });
    return rc;
}

Container* LiveTable(RFC_TABLE_HANDLE handle)
{
    Container* container = Live(handle);
    return container != nullptr && container->kind == Container::kTable ? container : nullptr;
}

RFC_RC GetRowCount(RFC_TABLE_HANDLE handle, unsigned* count, RFC_ERROR_INFO* info)
{
    Container* table = LiveTable(handle);
    RFC_RC rc;
    if (table == nullptr) {
        rc = Report(info, InvalidHandle("RFC_TABLE_HANDLE"));
    } else if (count == nullptr) {
        rc = Fail(info, RFC_INVALID_PARAMETER, "no row count variable");
    } else {
        *count = table->row_count;
        rc = Succeed(info);
    }
    Journal([&] { return "RfcGetRowCount " + LabelOf(handle) + Result(rc) +
            (rc == RFC_OK ? " " + std::to_string(table->row_count) : ""); });
    return rc;
}

RFC_RC MoveTo(RFC_TABLE_HANDLE handle, unsigned index, RFC_ERROR_INFO* info)
{
    Container* table = LiveTable(handle);
    RFC_RC rc;
    if (table == nullptr) {
        rc = Report(info, InvalidHandle("RFC_TABLE_HANDLE"));
    } else if (index >= table->row_count) {
        rc = Fail(info, RFC_TABLE_MOVE_EOF, "Row " + std::to_string(index) + " is out of bounds: the table has " +
                                                std::to_string(table->row_count) + " rows");
    } else {
        table->cursor = index;
        rc = Succeed(info);
    }
    Journal([&] { return "RfcMoveTo " + LabelOf(handle) + " " + std::to_string(index) + Result(rc); });
    return rc;
}

RFC_STRUCTURE_HANDLE GetCurrentRow(RFC_TABLE_HANDLE handle, RFC_ERROR_INFO* info)
{
    Container* table = LiveTable(handle);
    RFC_STRUCTURE_HANDLE row = nullptr;
    if (table == nullptr) {
        Report(info, InvalidHandle("RFC_TABLE_HANDLE"));
    } else if (table->cursor == kNoRow) {
        Fail(info, RFC_TABLE_MOVE_BOF, "No current row");
    } else {
        if (table->row_handles.size() != table->row_count) {   // more rows since: new handles
            table->row_handles.clear();
            for (std::size_t i = 0; i < table->row_count; ++i) table->row_handles.push_back(RowHandle{table, i});
        }
        row = reinterpret_cast<RFC_STRUCTURE_HANDLE>(&table->row_handles[table->cursor]);
        Succeed(info);
    }
    Journal([&] { return "RfcGetCurrentRow " + LabelOf(handle) + (row != nullptr ? " -> " + LabelOf(row) : " -> NULL"); });
    return row;
}

}  // namespace

}  // namespace nwrfcsim

// ---- The exported functions ----
// No exception leaves the library: its callers are written in C.

using namespace nwrfcsim;

#define NWRFCSIM_GUARD(failed, body)                                              \
    try {                                                                         \
        body;                                                                     \
    } catch (...) {                                                               \
        Fail(errorInfo, RFC_MEMORY_INSUFFICIENT, "the simulator ran out of memory"); \
        return failed;                                                            \
    }

NWRFCSIM_EXPORT RFC_CONNECTION_HANDLE SAP_API RfcOpenConnection(const RFC_CONNECTION_PARAMETER* connectionParams,
                                                               unsigned paramCount, RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(nullptr, return Open(connectionParams, paramCount, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle, RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT, return Close(rfcHandle, errorInfo))
}

NWRFCSIM_EXPORT RFC_FUNCTION_DESC_HANDLE SAP_API RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle,
                                                                   const SAP_UC* funcName, RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(nullptr, return GetFunctionDesc(rfcHandle, funcName, errorInfo))
}

NWRFCSIM_EXPORT RFC_FUNCTION_HANDLE SAP_API RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                             RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(nullptr, return CreateFunction(funcDescHandle, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT, return DestroyFunction(funcHandle, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle,
                                         RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT, return Invoke(rfcHandle, funcHandle, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcSetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                           const RFC_CHAR* charValue, unsigned valueLength, RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT, return SetChars(dataHandle, name, charValue, valueLength, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_CHAR* charBuffer,
                                           unsigned bufferLength, RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT, return GetChars(dataHandle, name, charBuffer, bufferLength, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcGetInt(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_INT* value,
                                         RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT, return GetNumber("RfcGetInt", dataHandle, name, value, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcGetInt2(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_INT2* value,
                                          RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT, return GetNumber("RfcGetInt2", dataHandle, name, value, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcGetDate(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_CHAR* emptyDate,
                                          RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT,
                   return GetDateOrTime("RfcGetDate", rfcsim::kTypeDate, dataHandle, name, emptyDate, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcGetTime(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name, RFC_CHAR* emptyTime,
                                          RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT,
                   return GetDateOrTime("RfcGetTime", rfcsim::kTypeTime, dataHandle, name, emptyTime, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcGetStructure(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                               RFC_STRUCTURE_HANDLE* structHandle, RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT,
                   return GetInner("RfcGetStructure", kTypeStructure, dataHandle, name, structHandle, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcGetTable(DATA_CONTAINER_HANDLE dataHandle, const SAP_UC* name,
                                           RFC_TABLE_HANDLE* tableHandle, RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT,
                   return GetInner("RfcGetTable", kTypeTable, dataHandle, name, tableHandle, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcGetRowCount(RFC_TABLE_HANDLE tableHandle, unsigned* rowCount,
                                              RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT, return GetRowCount(tableHandle, rowCount, errorInfo))
}

NWRFCSIM_EXPORT RFC_RC SAP_API RfcMoveTo(RFC_TABLE_HANDLE tableHandle, unsigned index, RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(RFC_MEMORY_INSUFFICIENT, return MoveTo(tableHandle, index, errorInfo))
}

NWRFCSIM_EXPORT RFC_STRUCTURE_HANDLE SAP_API RfcGetCurrentRow(RFC_TABLE_HANDLE tableHandle, RFC_ERROR_INFO* errorInfo)
{
    NWRFCSIM_GUARD(nullptr, return GetCurrentRow(tableHandle, errorInfo))
}

// The exported functions have exactly the types the adapter looks them up as.
static_assert(std::is_same_v<decltype(&RfcOpenConnection), RfcOpenConnection_t>);
static_assert(std::is_same_v<decltype(&RfcCloseConnection), RfcCloseConnection_t>);
static_assert(std::is_same_v<decltype(&RfcGetFunctionDesc), RfcGetFunctionDesc_t>);
static_assert(std::is_same_v<decltype(&RfcCreateFunction), RfcCreateFunction_t>);
static_assert(std::is_same_v<decltype(&RfcDestroyFunction), RfcDestroyFunction_t>);
static_assert(std::is_same_v<decltype(&RfcInvoke), RfcInvoke_t>);
static_assert(std::is_same_v<decltype(&RfcSetChars), RfcSetChars_t>);
static_assert(std::is_same_v<decltype(&RfcGetChars), RfcGetChars_t>);
static_assert(std::is_same_v<decltype(&RfcGetInt), RfcGetInt_t>);
static_assert(std::is_same_v<decltype(&RfcGetInt2), RfcGetInt2_t>);
static_assert(std::is_same_v<decltype(&RfcGetDate), RfcGetDate_t>);
static_assert(std::is_same_v<decltype(&RfcGetTime), RfcGetTime_t>);
static_assert(std::is_same_v<decltype(&RfcGetStructure), RfcGetStructure_t>);
static_assert(std::is_same_v<decltype(&RfcGetTable), RfcGetTable_t>);
static_assert(std::is_same_v<decltype(&RfcGetRowCount), RfcGetRowCount_t>);
static_assert(std::is_same_v<decltype(&RfcMoveTo), RfcMoveTo_t>);
static_assert(std::is_same_v<decltype(&RfcGetCurrentRow), RfcGetCurrentRow_t>);
