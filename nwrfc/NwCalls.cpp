#include "NwCalls.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "CodePage.h"
#include "NwRfcInterface.h"
#include "Platform.h"

namespace nwrfc {

using UcString = std::basic_string<nw::SAP_UC>;

namespace {

// The library's functions, resolved by name.
struct NwFunctions {
    nw::RfcOpenConnection_t RfcOpenConnection;
    nw::RfcCloseConnection_t RfcCloseConnection;
    nw::RfcGetFunctionDesc_t RfcGetFunctionDesc;
    nw::RfcCreateFunction_t RfcCreateFunction;
    nw::RfcDestroyFunction_t RfcDestroyFunction;
    nw::RfcInvoke_t RfcInvoke;
    nw::RfcSetChars_t RfcSetChars;
    nw::RfcGetChars_t RfcGetChars;
    nw::RfcGetInt_t RfcGetInt;
    nw::RfcGetInt2_t RfcGetInt2;
    nw::RfcGetDate_t RfcGetDate;
    nw::RfcGetTime_t RfcGetTime;
    nw::RfcGetStructure_t RfcGetStructure;
    nw::RfcGetTable_t RfcGetTable;
    nw::RfcGetRowCount_t RfcGetRowCount;
    nw::RfcMoveTo_t RfcMoveTo;
    nw::RfcGetCurrentRow_t RfcGetCurrentRow;
};

NwFunctions Nw;
bool g_loaded = false;

template <typename Function>
void Resolve(void* library, const char* name, Function& function, std::string& missing)
{
    function = reinterpret_cast<Function>(LibraryFunction(library, name));
    if (function == nullptr && missing.empty()) missing = name;
}

UcString Uc(std::string_view text)
{
    std::u16string units = FromCp1252(text);
    return UcString(units.begin(), units.end());
}

std::string Text(const nw::SAP_UC* units, std::size_t count)
{
    return ToCp1252(std::u16string(units, units + count));
}

// A NUL-terminated field of the error record, read at most to its size.
template <std::size_t Size>
std::string FieldText(const nw::SAP_UC (&field)[Size])
{
    std::size_t length = 0;
    while (length < Size && field[length] != 0) ++length;
    return Text(field, length);
}

// ABAP names are upper case.
UcString Name(const std::string& name)
{
    std::string upper = name;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return Uc(upper);
}

// The library's error record as the adapter keeps it; `code` is what the
// function returned. The key stays as the library gave it, empty or not: for
// an ABAP exception it is the exception's name.
ErrorRecord FromNw(int code, const nw::RFC_ERROR_INFO& info)
{
    return ErrorRecord{code, info.group, FieldText(info.key), FieldText(info.message), FieldText(info.abapMsgClass),
                       FieldText(info.abapMsgType), FieldText(info.abapMsgNumber)};
}

// A handle-returning function gave null: its code is the record's, unless
// the library left RFC_OK there (a known fault of some patch levels).
ErrorRecord NullHandle(const nw::RFC_ERROR_INFO& info, const std::string& what)
{
    if (info.code != nw::RFC_OK) return FromNw(info.code, info);
    ErrorRecord error{nw::RFC_UNKNOWN_ERROR, nw::EXTERNAL_RUNTIME_FAILURE, CodeName(nw::RFC_UNKNOWN_ERROR),
                      what + " gave no handle and no reason", "", "", ""};
    return error;
}

nw::RFC_ERROR_INFO Fresh()
{
    nw::RFC_ERROR_INFO info;
    std::memset(&info, 0, sizeof info);
    return info;
}

}  // namespace

struct NwConnection {
    nw::RFC_CONNECTION_HANDLE handle;
    bool closed = false;   // by a failure: the library closes the connection itself
};

struct NwCall {
    NwConnection* connection;
    nw::RFC_FUNCTION_HANDLE function;
    std::string name;
    int code = 0;          // of the invocation
    ErrorRecord error;
};

void NwCallEnd::operator()(NwCall* call) const
{
    if (call->function != nullptr && g_loaded) {
        nw::RFC_ERROR_INFO info = Fresh();
        Nw.RfcDestroyFunction(call->function, &info);
    }
    delete call;
}

bool LoadNwLibrary(ErrorRecord& error)
{
    if (g_loaded) return true;
    const char* named = std::getenv("SPACEWARDEN_NWRFC_LIBRARY");
    std::string name = named != nullptr && *named != '\0' ? named : DefaultNwLibraryName();
    std::string where;
    if (named == nullptr || *named == '\0') {
        std::string beside = OwnFolder() + name;
        if (!OwnFolder().empty() && FileExists(beside)) {
            name = beside;
        } else if (!OwnFolder().empty()) {
            where = " (it is not in the adapter's folder " + OwnFolder() + " either)";
        }
    }
    std::string reason;
    void* library = LoadLibraryFile(name, reason);
    if (library == nullptr) {
        error = LibraryFailure("SAP NetWeaver RFC library " + name + " could not be loaded" + where + ": " + reason);
        return false;
    }
    NwFunctions loaded{};
    std::string missing;
    Resolve(library, "RfcOpenConnection", loaded.RfcOpenConnection, missing);
    Resolve(library, "RfcCloseConnection", loaded.RfcCloseConnection, missing);
    Resolve(library, "RfcGetFunctionDesc", loaded.RfcGetFunctionDesc, missing);
    Resolve(library, "RfcCreateFunction", loaded.RfcCreateFunction, missing);
    Resolve(library, "RfcDestroyFunction", loaded.RfcDestroyFunction, missing);
    Resolve(library, "RfcInvoke", loaded.RfcInvoke, missing);
    Resolve(library, "RfcSetChars", loaded.RfcSetChars, missing);
    Resolve(library, "RfcGetChars", loaded.RfcGetChars, missing);
    Resolve(library, "RfcGetInt", loaded.RfcGetInt, missing);
    Resolve(library, "RfcGetInt2", loaded.RfcGetInt2, missing);
    Resolve(library, "RfcGetDate", loaded.RfcGetDate, missing);
    Resolve(library, "RfcGetTime", loaded.RfcGetTime, missing);
    Resolve(library, "RfcGetStructure", loaded.RfcGetStructure, missing);
    Resolve(library, "RfcGetTable", loaded.RfcGetTable, missing);
    Resolve(library, "RfcGetRowCount", loaded.RfcGetRowCount, missing);
    Resolve(library, "RfcMoveTo", loaded.RfcMoveTo, missing);
    Resolve(library, "RfcGetCurrentRow", loaded.RfcGetCurrentRow, missing);
    if (!missing.empty()) {
        error = LibraryFailure("SAP NetWeaver RFC library " + name + " lacks " + missing);
        return false;
    }
    Nw = loaded;
    g_loaded = true;
    return true;
}

NwConnection* OpenNwConnection(const LogonParameters& parameters, ErrorRecord& error)
{
    // The texts outlive the call: whether the library keeps the pointers is not known.
    static std::vector<UcString> texts;
    texts.clear();
    texts.reserve(parameters.size() * 2);
    std::vector<nw::RFC_CONNECTION_PARAMETER> list;
    for (const LogonParameter& parameter : parameters) {
        texts.push_back(Uc(parameter.name));
        const nw::SAP_UC* name = texts.back().c_str();
        texts.push_back(Uc(parameter.value));
        list.push_back(nw::RFC_CONNECTION_PARAMETER{name, texts.back().c_str()});
    }
    nw::RFC_ERROR_INFO info = Fresh();
    nw::RFC_CONNECTION_HANDLE handle =
        Nw.RfcOpenConnection(list.data(), static_cast<unsigned>(list.size()), &info);
    if (handle == nullptr) {
        error = NullHandle(info, "RfcOpenConnection");
        return nullptr;
    }
    return new NwConnection{handle, false};
}

void CloseNwConnection(NwConnection* connection)
{
    if (connection == nullptr) return;
    nw::RFC_ERROR_INFO info = Fresh();
    Nw.RfcCloseConnection(connection->handle, &info);
    delete connection;
}

namespace {

// Sets one exporting value in a container (a function or a structure).
bool SetValue(nw::DATA_CONTAINER_HANDLE container, const std::string& name, FieldKind kind, unsigned length,
              const Structure* structure, const unsigned char* address, ErrorRecord& error)
{
    UcString field = Name(name);
    nw::RFC_ERROR_INFO info = Fresh();
    nw::RFC_RC rc;
    if (kind == FieldKind::Structure) {
        nw::RFC_STRUCTURE_HANDLE inner = nullptr;
        rc = Nw.RfcGetStructure(container, field.c_str(), &inner, &info);
        if (rc != nw::RFC_OK) {
            error = FromNw(rc, info);
            return false;
        }
        for (const StructureField& member : structure->fields) {
            if (!SetValue(inner, member.name, member.kind, member.length, member.structure, address + member.offset,
                          error)) {
                return false;
            }
        }
        return true;
    }
    UcString value;
    if (kind == FieldKind::Int) {
        std::int32_t number;
        std::memcpy(&number, address, sizeof number);
        value = Uc(std::to_string(number));
    } else if (kind == FieldKind::Int2) {
        std::int16_t number;
        std::memcpy(&number, address, sizeof number);
        value = Uc(std::to_string(number));
    } else {
        value = Uc(std::string_view(reinterpret_cast<const char*>(address), length));
    }
    rc = Nw.RfcSetChars(container, field.c_str(), value.data(), static_cast<unsigned>(value.size()), &info);
    if (rc != nw::RFC_OK) {
        error = FromNw(rc, info);
        return false;
    }
    return true;
}

// Reads one importing value, or one field of a row, into `address`.
// One zeroed error record serves every read: only a failure writes texts
// into it, and a failure ends the reading.
class ValueReader {
public:
    ValueReader() : info_(Fresh()) {}

    bool Read(nw::DATA_CONTAINER_HANDLE container, const UcString& field, FieldKind kind, unsigned length,
              const Structure* structure, unsigned char* address, ErrorRecord& error)
    {
        nw::RFC_ERROR_INFO& info = info_;
        nw::RFC_RC rc = nw::RFC_OK;
        switch (kind) {
            case FieldKind::Char: {
                units_.assign(length, ' ');
                rc = Nw.RfcGetChars(container, field.c_str(), units_.data(), length, &info);
                if (rc == nw::RFC_OK) {
                    std::string text = Text(units_.data(), length);
                    text.resize(length, ' ');   // a character beyond U+FFFF became one "#"
                    std::memcpy(address, text.data(), length);
                }
                break;
            }
            case FieldKind::Date:
            case FieldKind::Time: {
                nw::RFC_DATE date;   // room for either
                for (nw::SAP_UC& unit : date) unit = '0';
                rc = kind == FieldKind::Date ? Nw.RfcGetDate(container, field.c_str(), date, &info)
                                             : Nw.RfcGetTime(container, field.c_str(), date, &info);
                if (rc == nw::RFC_OK) std::memcpy(address, Text(date, length).data(), length);
                break;
            }
            case FieldKind::Int: {
                nw::RFC_INT number = 0;
                rc = Nw.RfcGetInt(container, field.c_str(), &number, &info);
                if (rc == nw::RFC_OK) std::memcpy(address, &number, sizeof number);
                break;
            }
            case FieldKind::Int2: {
                nw::RFC_INT2 number = 0;
                rc = Nw.RfcGetInt2(container, field.c_str(), &number, &info);
                if (rc == nw::RFC_OK) std::memcpy(address, &number, sizeof number);
                break;
            }
            case FieldKind::Structure: {
                nw::RFC_STRUCTURE_HANDLE inner = nullptr;
                rc = Nw.RfcGetStructure(container, field.c_str(), &inner, &info);
                if (rc != nw::RFC_OK) break;
                for (const StructureField& member : structure->fields) {
                    if (!Read(inner, Name(member.name), member.kind, member.length, member.structure,
                              address + member.offset, error)) {
                        return false;
                    }
                }
                return true;
            }
        }
        if (rc != nw::RFC_OK) {
            error = FromNw(rc, info);
            return false;
        }
        return true;
    }

private:
    nw::RFC_ERROR_INFO info_;
    std::vector<nw::SAP_UC> units_;
};

// Every row of a table of the function, field by field, into the internal table.
int ReadTable(nw::RFC_FUNCTION_HANDLE function, const TableRequest& request, ErrorRecord& error)
{
    nw::RFC_ERROR_INFO info = Fresh();
    nw::RFC_TABLE_HANDLE table = nullptr;
    nw::RFC_RC rc = Nw.RfcGetTable(function, Name(request.name).c_str(), &table, &info);
    unsigned rows = 0;
    if (rc == nw::RFC_OK) rc = Nw.RfcGetRowCount(table, &rows, &info);
    if (rc != nw::RFC_OK) {
        error = FromNw(rc, info);
        return rc;
    }
    InternalTable& target = *request.table;
    const Structure& type = *request.row;
    std::vector<UcString> names;
    for (const StructureField& field : type.fields) names.push_back(Name(field.name));
    target.rows.assign(std::size_t{rows} * target.row_length, 0);
    target.count = 0;
    ValueReader reader;
    for (unsigned index = 0; index < rows; ++index) {
        rc = Nw.RfcMoveTo(table, index, &info);
        if (rc != nw::RFC_OK) {
            error = FromNw(rc, info);
            break;
        }
        nw::RFC_STRUCTURE_HANDLE row = Nw.RfcGetCurrentRow(table, &info);
        if (row == nullptr) {
            error = NullHandle(info, "RfcGetCurrentRow");
            rc = static_cast<nw::RFC_RC>(error.code);
            break;
        }
        unsigned char* address = target.rows.data() + std::size_t{index} * target.row_length;
        for (std::size_t i = 0; i < type.fields.size(); ++i) {
            const StructureField& field = type.fields[i];
            if (!reader.Read(row, names[i], field.kind, field.length, field.structure, address + field.offset, error)) {
                rc = static_cast<nw::RFC_RC>(error.code);
                break;
            }
        }
        if (rc != nw::RFC_OK) break;
    }
    if (rc != nw::RFC_OK) {
        target.rows.clear();
        return rc;
    }
    target.count = rows;
    return nw::RFC_OK;
}

}  // namespace

bool MakeNwCall(NwConnection* connection, const std::string& function, const std::vector<ValueRequest>& exporting,
                NwCallHandle& call, ErrorRecord& error)
{
    call.reset();
    if (connection->closed) {
        error = InvalidHandle("RfcCall " + function + ": the connection was closed by an earlier failure");
        return false;
    }
    nw::RFC_ERROR_INFO info = Fresh();
    nw::RFC_FUNCTION_DESC_HANDLE description =
        Nw.RfcGetFunctionDesc(connection->handle, Name(function).c_str(), &info);
    if (description == nullptr) {
        error = NullHandle(info, "RfcGetFunctionDesc");
        if (ClosesConnection(error.code)) connection->closed = true;
        return false;
    }
    info = Fresh();
    nw::RFC_FUNCTION_HANDLE handle = Nw.RfcCreateFunction(description, &info);
    if (handle == nullptr) {
        error = NullHandle(info, "RfcCreateFunction");
        return false;
    }
    NwCallHandle made(new NwCall{connection, handle, function, 0, {}});
    for (const ValueRequest& value : exporting) {
        if (!SetValue(handle, value.name, value.kind, value.length, value.structure, value.address, error)) {
            return false;
        }
    }
    info = Fresh();
    nw::RFC_RC rc = Nw.RfcInvoke(connection->handle, handle, &info);
    made->code = rc;
    if (rc != nw::RFC_OK) {
        made->error = FromNw(rc, info);
        if (ClosesConnection(rc)) connection->closed = true;
    }
    call = std::move(made);
    return true;
}

int ReceiveNwCall(NwCall& call, const std::vector<ValueRequest>& importing, const std::vector<TableRequest>& tables,
                  ErrorRecord& error)
{
    if (call.code != nw::RFC_OK) {
        error = call.error;
        return call.code;
    }
    ValueReader reader;
    for (const ValueRequest& value : importing) {
        if (!reader.Read(call.function, Name(value.name), value.kind, value.length, value.structure, value.address,
                         error)) {
            return error.code;
        }
    }
    for (const TableRequest& table : tables) {
        int rc = ReadTable(call.function, table, error);
        if (rc != nw::RFC_OK) return rc;
    }
    return nw::RFC_OK;
}

}  // namespace nwrfc
