// The twelve operations of the classic RFC client library (src/rfc/RfcInterface.h)
// on top of SAP's NetWeaver RFC library (README.md). This file is the classic
// side: it checks what the caller passes, keeps connections, structures and
// internal tables, and hands the work to the NetWeaver side (NwCalls.h).
#include "RfcInterface.h"

#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "Errors.h"
#include "Layout.h"
#include "Logon.h"
#include "NwCalls.h"
#include "Platform.h"

#if defined(_WIN32)
#define ADAPTER_EXPORT extern "C" __declspec(dllexport)
#else
#define ADAPTER_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace nwrfc {

namespace {

const char kDestinationFile[] = "SapRfc.ini";
constexpr std::size_t kMaxCallerText = 1024;
constexpr unsigned kMaxListEntries = 1000;
constexpr std::size_t kMaxAbapName = 30;

struct Connection {
    NwConnection* nw;
    NwCallHandle pending;   // called, not yet received
};

StructureRegistry g_structures;
std::map<RFC_HANDLE, Connection> g_connections;
RFC_HANDLE g_next_handle = 1;   // never reused
std::map<ITAB_H, std::unique_ptr<InternalTable>> g_tables;
std::string g_exception;        // the exception text of the last RfcReceive

// The caller's NUL-terminated text, read at most up to `limit` characters.
std::string CallerText(const char* text, std::size_t limit = kMaxCallerText)
{
    if (text == nullptr) return "";
    std::size_t length = 0;
    while (length < limit && text[length] != '\0') ++length;
    return std::string(text, length);
}

// A list entry's name: `nlen` characters, ending early at a NUL.
std::string EntryName(const void* name, unsigned nlen)
{
    return CallerText(static_cast<const char*>(name), nlen < kMaxCallerText ? nlen : kMaxCallerText);
}

RFC_RC Failed(const ErrorRecord& error)
{
    RecordFailure(error);
    return RFC_FAILURE;
}

// The kind of a classic type: a built-in code or an installed structure.
bool KindOf(RFC_TYPEHANDLE type, FieldKind& kind, const Structure*& structure)
{
    structure = nullptr;
    if (BuiltinKind(type, kind)) return true;
    structure = g_structures.Find(type);
    kind = FieldKind::Structure;
    return structure != nullptr;
}

template <typename Entry>
std::size_t ListLength(const Entry* list)
{
    std::size_t count = 0;
    while (list != nullptr && count <= kMaxListEntries && list[count].name != nullptr) ++count;
    return count;
}

// The entries of a parameter list, checked: a name of 1 to 30 characters,
// a known type, the type's length (a CHAR any length), a value's address.
bool ValueRequests(const std::string& where, const char* kind_of_list, RFC_PARAMETER* list,
                   std::vector<ValueRequest>& requests, ErrorRecord& error)
{
    std::size_t count = ListLength(list);
    if (count > kMaxListEntries) {
        error = InvalidParameter(where + ": the " + kind_of_list + " list has more than " +
                                 std::to_string(kMaxListEntries) + " entries");
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const RFC_PARAMETER& entry = list[i];
        std::string name = EntryName(entry.name, entry.nlen);
        std::string what = where + ": " + kind_of_list + " " + (name.empty() ? std::to_string(i + 1) : name);
        FieldKind kind;
        const Structure* structure;
        if (name.empty() || name.size() > kMaxAbapName) {
            error = InvalidParameter(what + " has a name of " + std::to_string(name.size()) + " characters");
            return false;
        }
        if (!KindOf(entry.type, kind, structure)) {
            error = InvalidParameter(what + " has type " + std::to_string(entry.type) +
                                     ", neither a built-in type nor an installed structure");
            return false;
        }
        unsigned required = RequiredLength(kind, structure);
        if (entry.leng == 0 || (required != 0 && entry.leng != required)) {
            error = InvalidParameter(what + " has length " + std::to_string(entry.leng) +
                                     (required != 0 ? ", its type " + std::to_string(required) : ""));
            return false;
        }
        if (entry.addr == nullptr) {
            error = InvalidParameter(what + " has no value");
            return false;
        }
        requests.push_back(ValueRequest{name, kind, entry.leng, structure, static_cast<unsigned char*>(entry.addr)});
    }
    return true;
}

// The entries of a table list, checked: an installed row type, a known
// internal table created with the row type's length, and a row length in
// the entry (when it gives one) of the same.
bool TableRequests(const std::string& where, RFC_TABLE* list, std::vector<TableRequest>& requests, ErrorRecord& error)
{
    std::size_t count = ListLength(list);
    if (count > kMaxListEntries) {
        error = InvalidParameter(where + ": the table list has more than " + std::to_string(kMaxListEntries) +
                                 " entries");
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const RFC_TABLE& entry = list[i];
        std::string name = EntryName(entry.name, entry.nlen);
        std::string what = where + ": table " + (name.empty() ? std::to_string(i + 1) : name);
        const Structure* row = g_structures.Find(entry.type);
        auto table = g_tables.find(entry.ithandle);
        if (name.empty() || name.size() > kMaxAbapName) {
            error = InvalidParameter(what + " has a name of " + std::to_string(name.size()) + " characters");
            return false;
        }
        if (row == nullptr) {
            error = InvalidParameter(what + " has row type " + std::to_string(entry.type) +
                                     ", which is not an installed structure");
            return false;
        }
        if (table == g_tables.end()) {
            error = InvalidHandle(what + " has no internal table of this library");
            return false;
        }
        if (table->second->row_length != row->size) {
            error = InvalidParameter(what + " was created with rows of " + std::to_string(table->second->row_length) +
                                     " bytes; its row type " + row->name + " has " + std::to_string(row->size));
            return false;
        }
        if (entry.leng != 0 && entry.leng != row->size) {
            error = InvalidParameter(what + " is given rows of " + std::to_string(entry.leng) + " bytes; its row type " +
                                     row->name + " has " + std::to_string(row->size));
            return false;
        }
        requests.push_back(TableRequest{name, row, table->second.get()});
    }
    return true;
}

RFC_HANDLE Connect(const LogonParameters& parameters)
{
    ErrorRecord error;
    if (!LoadNwLibrary(error)) {
        RecordFailure(error);
        return 0;
    }
    NwConnection* connection = OpenNwConnection(parameters, error);
    if (connection == nullptr) {
        RecordFailure(error);
        return 0;
    }
    RFC_HANDLE handle = g_next_handle++;
    g_connections[handle] = Connection{connection, nullptr};
    return handle;
}

void CloseConnection(Connection& connection)
{
    connection.pending.reset();
    CloseNwConnection(connection.nw);
}

RFC_HANDLE Open(RFC_OPTIONS* options)
{
    if (options == nullptr) {
        RecordFailure(InvalidParameter("RfcOpen: no logon options"));
        return 0;
    }
    if (options->mode == 1) {
        RecordFailure(NotSupported("RfcOpen: R/2 connections (mode 1, through a CPI-C gateway) are not offered by "
                                   "the SAP NetWeaver RFC library"));
        return 0;
    }
    if (options->mode != 0) {
        RecordFailure(InvalidParameter("RfcOpen: mode " + std::to_string(options->mode) + " is not known"));
        return 0;
    }
    if (options->connopt == nullptr) {
        RecordFailure(InvalidParameter("RfcOpen: no application server options for mode 0"));
        return 0;
    }
    const auto* server = static_cast<const RFC_CONNOPT_R3*>(options->connopt);
    ServerLogon logon;
    logon.host = CallerText(server->hostname);
    logon.sysnr = server->sysnr;
    logon.gwhost = CallerText(server->gateway_host);
    logon.gwserv = CallerText(server->gateway_service);
    logon.client = CallerText(options->client);
    logon.user = CallerText(options->user);
    logon.password = CallerText(options->password);
    logon.language = CallerText(options->language);
    logon.trace = options->trace;
    LogonParameters parameters;
    std::string problem;
    if (!ServerLogonParameters(logon, parameters, problem)) {
        RecordFailure(InvalidParameter("RfcOpen: " + problem));
        return 0;
    }
    return Connect(parameters);
}

// The destination's entries of SapRfc.ini in the current directory, then
// the connect string's own words over them.
bool DestinationEntries(const LogonEntries& words, LogonEntries& entries, ErrorRecord& error)
{
    auto dest = words.find("DEST");
    if (dest != words.end()) {
        std::ifstream file(CurrentDirectoryName(kDestinationFile), std::ios::binary);
        std::ostringstream content;
        if (file) content << file.rdbuf();
        if (!file) {
            error = InvalidParameter("RfcOpenEx: " + std::string(kDestinationFile) + " cannot be read, so destination " +
                                     dest->second + " is not known");
            return false;
        }
        if (!FindDestination(content.str(), dest->second, entries)) {
            error = InvalidParameter("RfcOpenEx: destination " + dest->second + " is not in " + kDestinationFile);
            return false;
        }
    }
    for (const auto& [key, value] : words) entries[key] = value;
    return true;
}

RFC_HANDLE OpenEx(char* connect_param, RFC_ERROR_INFO_EX* error_info)
{
    RFC_HANDLE handle = 0;
    LogonEntries words, entries;
    LogonParameters parameters;
    std::string problem;
    bool r2 = false;
    ErrorRecord error;
    if (connect_param == nullptr) {
        RecordFailure(InvalidParameter("RfcOpenEx: no connect string"));
    } else if (!ParseConnectString(CallerText(connect_param), words, problem)) {
        RecordFailure(InvalidParameter("RfcOpenEx: " + problem));
    } else if (!DestinationEntries(words, entries, error)) {
        RecordFailure(error);
    } else if (!DestinationLogonParameters(entries, parameters, problem, r2)) {
        RecordFailure(r2 ? NotSupported("RfcOpenEx: " + problem) : InvalidParameter("RfcOpenEx: " + problem));
    } else {
        handle = Connect(parameters);
    }
    if (error_info != nullptr) {
        std::memset(error_info, 0, sizeof *error_info);
        if (handle == 0) {
            ClassicErrorTexts texts = ClassicTexts(LastFailure());
            error_info->group = LastFailure().group;
            CopyToField(error_info->key, texts.key);
            CopyToField(error_info->message, texts.message);
        }
    }
    return handle;
}

RFC_RC InstallStructure(char* name, RFC_TYPE_ELEMENT* elements, unsigned count, RFC_TYPEHANDLE* handle)
{
    std::string structure = CallerText(name, kMaxAbapName + 1);
    std::string where = "RfcInstallStructure " + structure;
    if (name == nullptr || handle == nullptr) {
        return Failed(InvalidParameter("RfcInstallStructure: no structure name or no handle variable"));
    }
    if (elements == nullptr && count > 0) return Failed(InvalidParameter(where + ": no field descriptors"));
    if (structure.empty() || structure.size() > kMaxAbapName) {
        return Failed(InvalidParameter("RfcInstallStructure: a structure name has 1 to 30 characters"));
    }
    std::vector<FieldSpec> fields;
    for (unsigned i = 0; elements != nullptr && i < count && i <= kMaxListEntries * 10; ++i) {
        fields.push_back(FieldSpec{CallerText(elements[i].name, kMaxAbapName + 1), elements[i].type,
                                   elements[i].length, elements[i].offset});
        if (fields.back().name.size() > kMaxAbapName) {
            return Failed(InvalidParameter(where + ": the name of field " + std::to_string(i + 1) +
                                           " is longer than 30 characters"));
        }
    }
    std::string problem;
    RFC_TYPEHANDLE installed = g_structures.Install(structure, fields, problem);
    if (installed == 0) return Failed(InvalidParameter(where + ": " + problem));
    *handle = installed;
    return RFC_OK;
}

RFC_RC Call(RFC_HANDLE h, char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables)
{
    auto connection = g_connections.find(h);
    if (connection == g_connections.end()) {
        return Failed(InvalidHandle("RfcCall: handle " + std::to_string(h) + " is not open"));
    }
    connection->second.pending.reset();
    std::string name = CallerText(function, kMaxAbapName + 1);
    if (name.empty() || name.size() > kMaxAbapName) {
        return Failed(InvalidParameter("RfcCall: a function module name has 1 to 30 characters"));
    }
    std::string where = "RfcCall " + name;
    std::vector<ValueRequest> values;
    std::vector<TableRequest> table_requests;
    ErrorRecord error;
    if (!ValueRequests(where, "exporting", exporting, values, error) ||
        !TableRequests(where, tables, table_requests, error) ||
        !MakeNwCall(connection->second.nw, name, values, connection->second.pending, error)) {
        return Failed(error);
    }
    return RFC_OK;
}

RFC_RC Receive(RFC_HANDLE h, RFC_PARAMETER* importing, RFC_TABLE* tables, char** exception)
{
    auto connection = g_connections.find(h);
    if (connection == g_connections.end()) {
        return Failed(InvalidHandle("RfcReceive: handle " + std::to_string(h) + " is not open"));
    }
    NwCallHandle call = std::move(connection->second.pending);   // a call is received once
    if (!call) {
        return Failed(InvalidParameter("RfcReceive: no function module called on handle " + std::to_string(h)));
    }
    std::string where = "RfcReceive";
    std::vector<ValueRequest> values;
    std::vector<TableRequest> table_requests;
    ErrorRecord error;
    if (!ValueRequests(where, "importing", importing, values, error) ||
        !TableRequests(where, tables, table_requests, error)) {
        return Failed(error);
    }
    int code = ReceiveNwCall(*call, values, table_requests, error);
    if (code == 0) return RFC_OK;
    RecordFailure(error);
    int classic = ClassicCode(code);
    if ((classic == RFC_EXCEPTION || classic == RFC_SYS_EXCEPTION) && exception != nullptr) {
        g_exception = error.key;
        *exception = g_exception.data();
    }
    return classic;
}

ITAB_H CreateTable(char* name, unsigned row_length)
{
    std::string table = CallerText(name, kMaxCallerText);
    if (name == nullptr) {
        RecordFailure(InvalidParameter("ItCreate: no table name"));
        return nullptr;
    }
    if (row_length == 0) {
        RecordFailure(InvalidParameter("ItCreate " + table + ": row length 0"));
        return nullptr;
    }
    auto created = std::make_unique<InternalTable>(InternalTable{table, row_length, {}, 0});
    ITAB_H handle = created.get();
    g_tables[handle] = std::move(created);
    return handle;
}

InternalTable* FindTable(const char* operation, ITAB_H handle)
{
    auto table = g_tables.find(handle);
    if (table != g_tables.end()) return table->second.get();
    RecordFailure(InvalidHandle(std::string(operation) + ": not an internal table of this library"));
    return nullptr;
}

void* LineOf(ITAB_H handle, unsigned index)
{
    InternalTable* table = FindTable("ItGetLine", handle);
    if (table == nullptr) return nullptr;
    if (index < 1 || index > table->count) {
        RecordFailure(InvalidParameter("ItGetLine " + table->name + ": row " + std::to_string(index) + " of " +
                                       std::to_string(table->count)));
        return nullptr;
    }
    return table->rows.data() + std::size_t{index - 1} * table->row_length;
}

int DeleteTable(ITAB_H handle)
{
    if (FindTable("ItDelete", handle) == nullptr) return 1;
    g_tables.erase(handle);
    return 0;
}

int LastError(RFC_ERROR_INFO* info)
{
    if (info == nullptr) return 1;
    FillClassicRecord(LastFailure(), info->key, info->status, info->message, info->intstat);
    return 0;
}

void Close(RFC_HANDLE h)
{
    if (h == 0) {
        for (auto& [handle, connection] : g_connections) CloseConnection(connection);
        g_connections.clear();
        return;
    }
    auto connection = g_connections.find(h);
    if (connection == g_connections.end()) return;
    CloseConnection(connection->second);
    g_connections.erase(connection);
}

void OutOfMemory(const char* operation)
{
    try {
        RecordFailure(MemoryInsufficient(std::string(operation) + ": out of memory"));
    } catch (...) {
    }
}

}  // namespace

}  // namespace nwrfc

// ---- The exported operations ----
// No exception leaves the library: its callers are written in C.

using namespace nwrfc;

ADAPTER_EXPORT void RFC_LIBRARY_CALL RfcEnvironment(RFC_ENV*)
{
    // The adapter never calls an error handler: failures come back as return codes.
}

ADAPTER_EXPORT RFC_HANDLE RFC_LIBRARY_CALL RfcOpen(RFC_OPTIONS* options)
{
    try {
        return Open(options);
    } catch (...) {
        OutOfMemory("RfcOpen");
        return 0;
    }
}

ADAPTER_EXPORT RFC_HANDLE RFC_LIBRARY_CALL RfcOpenEx(char* connect_param, RFC_ERROR_INFO_EX* error_info)
{
    try {
        return OpenEx(connect_param, error_info);
    } catch (...) {
        OutOfMemory("RfcOpenEx");
        return 0;
    }
}

ADAPTER_EXPORT RFC_RC RFC_LIBRARY_CALL RfcInstallStructure(char* name, RFC_TYPE_ELEMENT* elements, unsigned count,
                                                           RFC_TYPEHANDLE* handle)
{
    try {
        return InstallStructure(name, elements, count, handle);
    } catch (...) {
        OutOfMemory("RfcInstallStructure");
        return RFC_FAILURE;
    }
}

ADAPTER_EXPORT RFC_RC RFC_LIBRARY_CALL RfcCall(RFC_HANDLE h, char* function, RFC_PARAMETER* exporting,
                                               RFC_TABLE* tables)
{
    try {
        return Call(h, function, exporting, tables);
    } catch (...) {
        OutOfMemory("RfcCall");
        return RFC_FAILURE;
    }
}

ADAPTER_EXPORT RFC_RC RFC_LIBRARY_CALL RfcReceive(RFC_HANDLE h, RFC_PARAMETER* importing, RFC_TABLE* tables,
                                                  char** exception)
{
    try {
        return Receive(h, importing, tables, exception);
    } catch (...) {
        OutOfMemory("RfcReceive");
        return RFC_FAILURE;
    }
}

ADAPTER_EXPORT ITAB_H RFC_LIBRARY_CALL ItCreate(char* name, unsigned row_length, unsigned, unsigned)
{
    try {
        return CreateTable(name, row_length);
    } catch (...) {
        OutOfMemory("ItCreate");
        return nullptr;
    }
}

ADAPTER_EXPORT unsigned RFC_LIBRARY_CALL ItFill(ITAB_H t)
{
    try {
        InternalTable* table = FindTable("ItFill", t);
        return table != nullptr ? table->count : 0;
    } catch (...) {
        OutOfMemory("ItFill");
        return 0;
    }
}

ADAPTER_EXPORT void* RFC_LIBRARY_CALL ItGetLine(ITAB_H t, unsigned index)
{
    try {
        return LineOf(t, index);
    } catch (...) {
        OutOfMemory("ItGetLine");
        return nullptr;
    }
}

ADAPTER_EXPORT int RFC_LIBRARY_CALL ItDelete(ITAB_H t)
{
    try {
        return DeleteTable(t);
    } catch (...) {
        OutOfMemory("ItDelete");
        return 1;
    }
}

ADAPTER_EXPORT int RFC_LIBRARY_CALL RfcLastError(RFC_ERROR_INFO* info)
{
    try {
        return LastError(info);
    } catch (...) {
        return 1;
    }
}

ADAPTER_EXPORT void RFC_LIBRARY_CALL RfcClose(RFC_HANDLE h)
{
    try {
        Close(h);
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
