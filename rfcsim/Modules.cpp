#include "Modules.h"

#include "Text.h"

#include <cstdint>
#include <cstring>

namespace rfcsim {

namespace {

static_assert(kTypeChar == RFCTYPE_CHAR && kTypeDate == RFCTYPE_DATE && kTypeTime == RFCTYPE_TIME &&
              kTypeInt == RFCTYPE_INT && kTypeInt2 == RFCTYPE_INT2);

// Longest list a caller may pass before the terminating entry.
constexpr unsigned kMaxListEntries = 256;

// ---- Helpers ----

// Field offsets of a structure definition, laid out as the library lays out
// installed structures: each field on its type's alignment.
std::vector<unsigned> Offsets(const StructDef& structure)
{
    std::vector<unsigned> offsets;
    unsigned offset = 0;
    for (const FieldDef& field : structure.fields) {
        unsigned alignment = BuiltinAlignment(field.type);
        offset = (offset + alignment - 1) / alignment * alignment;
        offsets.push_back(offset);
        offset += field.length;
    }
    return offsets;
}

// Called once the name matched: only a name length that counts more than
// the name (a NUL inside) is left to catch.
std::string CheckNameLength(const std::string& what, unsigned nlen, const char* want)
{
    std::size_t wanted = std::strlen(want);
    if (nlen != wanted) {
        return what + " has name length " + std::to_string(nlen) + ", expected " + std::to_string(wanted);
    }
    return "";
}

std::string CheckStructure(const std::string& what, RFC_TYPEHANDLE type, const StructDef& want)
{
    const InstalledStructure* installed = FindStructure(type);
    if (installed == nullptr) {
        if (type <= 9) {
            return what + " has type " + std::to_string(type) + ", expected structure " + want.name;
        }
        return what + " has unknown type handle " + std::to_string(type);
    }
    if (installed->name != want.name) {
        return what + " is typed by " + installed->name + ", expected " + want.name;
    }
    if (installed->fields.size() != want.fields.size()) {
        return std::string("structure ") + want.name + " has " + std::to_string(installed->fields.size()) +
               " fields, expected " + std::to_string(want.fields.size());
    }
    for (std::size_t i = 0; i < want.fields.size(); ++i) {
        const InstalledField& field = installed->fields[i];
        const FieldDef& wanted = want.fields[i];
        std::string where = std::string("structure ") + want.name + " field " + wanted.name;
        if (field.name != wanted.name) {
            return std::string("structure ") + want.name + " field " + std::to_string(i + 1) + " is " +
                   field.name + ", expected " + wanted.name;
        }
        if (field.type != wanted.type) {
            return where + " has type " + std::to_string(field.type) + ", expected " + std::to_string(wanted.type);
        }
        if (field.length != wanted.length) {
            return where + " has length " + std::to_string(field.length) + ", expected " +
                   std::to_string(wanted.length);
        }
        if (field.decimals != 0) {
            return where + " has " + std::to_string(field.decimals) + " decimals, expected 0";
        }
    }
    return "";
}

std::string IntBytes(std::int32_t value)
{
    char bytes[4];
    std::memcpy(bytes, &value, sizeof bytes);
    return std::string(bytes, sizeof bytes);
}

std::string Int2Bytes(std::int16_t value)
{
    char bytes[2];
    std::memcpy(bytes, &value, sizeof bytes);
    return std::string(bytes, sizeof bytes);
}

// A field's value as the classic interface lays it out: numbers in native
// byte order, texts as they stand.
std::string FieldBytes(unsigned type, const std::string& text, int number)
{
    if (type == RFCTYPE_INT) return IntBytes(number);
    if (type == RFCTYPE_INT2) return Int2Bytes(static_cast<std::int16_t>(number));
    return text;
}

std::string Answer(const ParamDef& param, const System& system)
{
    if (param.structure != nullptr) {
        const StructDef& structure = *param.structure;
        std::vector<unsigned> offsets = Offsets(structure);
        std::string record(param.length, '\0');
        for (std::size_t i = 0; i < structure.fields.size(); ++i) {
            unsigned type = structure.fields[i].type;
            bool number = type == RFCTYPE_INT || type == RFCTYPE_INT2;
            std::string value = FieldBytes(type, number ? "" : ParameterFieldText(param, i, system),
                                           number ? ParameterFieldNumber(param, i, system) : 0);
            record.replace(offsets[i], value.size(), value);
        }
        return record;
    }
    bool number = param.type == RFCTYPE_INT || param.type == RFCTYPE_INT2;
    return FieldBytes(param.type, number ? "" : ParameterText(param, system), number ? ParameterNumber(param, system) : 0);
}

// Row `index` (from 1) of a table, laid out.
std::string Row(const System& system, const StructDef& structure, const std::vector<unsigned>& offsets,
                unsigned row_length, unsigned index)
{
    std::string row(row_length, '\0');
    for (std::size_t i = 0; i < structure.fields.size(); ++i) {
        unsigned type = structure.fields[i].type;
        bool number = type == RFCTYPE_INT || type == RFCTYPE_INT2;
        std::string value = FieldBytes(type, number ? "" : RowFieldText(system, structure, i, index),
                                       number ? RowFieldNumber(system, structure, i, index) : 0);
        row.replace(offsets[i], value.size(), value);
    }
    return row;
}

}  // namespace

unsigned BuiltinAlignment(RFC_TYPEHANDLE type)
{
    if (type == RFCTYPE_INT) return 4;
    if (type == RFCTYPE_INT2) return 2;
    return 1;
}

std::string CheckParameters(const char* kind, RFC_PARAMETER* list, std::span<const ParamDef> want)
{
    std::size_t count = 0;
    while (list != nullptr && list[count].name != nullptr && count < kMaxListEntries) {
        ++count;
    }
    for (std::size_t i = 0; i < count || i < want.size(); ++i) {
        if (i >= want.size()) {
            return std::string("unexpected ") + kind + " parameter " + EntryName(list[i].name, list[i].nlen);
        }
        const ParamDef& wanted = want[i];
        if (i >= count) {
            return std::string(kind) + " parameter " + wanted.name + " missing";
        }
        const RFC_PARAMETER& param = list[i];
        std::string name = EntryName(param.name, param.nlen);
        if (name != wanted.name) {
            return std::string(kind) + " parameter " + std::to_string(i + 1) + " is " + name + ", expected " +
                   wanted.name;
        }
        std::string what = std::string(kind) + " " + wanted.name;
        std::string problem = CheckNameLength(what, param.nlen, wanted.name);
        if (!problem.empty()) return problem;
        if (wanted.structure != nullptr) {
            problem = CheckStructure(what, param.type, *wanted.structure);
            if (!problem.empty()) return problem;
        } else if (param.type != wanted.type) {
            return what + " has type " + std::to_string(param.type) + ", expected " + std::to_string(wanted.type);
        }
        if (param.leng != wanted.length) {
            return what + " has length " + std::to_string(param.leng) + ", expected " + std::to_string(wanted.length);
        }
        if (param.addr == nullptr) {
            return what + " has no value";
        }
        if (wanted.required_value != nullptr &&
            std::memcmp(param.addr, wanted.required_value, wanted.length) != 0) {
            return what + " is <" + std::string(static_cast<const char*>(param.addr), wanted.length) +
                   ">, expected <" + wanted.required_value + ">";
        }
    }
    return "";
}

std::string CheckTables(RFC_TABLE* list, std::span<const TableDef> want)
{
    std::size_t count = 0;
    while (list != nullptr && list[count].name != nullptr && count < kMaxListEntries) {
        ++count;
    }
    for (std::size_t i = 0; i < count || i < want.size(); ++i) {
        if (i >= want.size()) {
            return "unexpected table " + EntryName(list[i].name, list[i].nlen);
        }
        const TableDef& wanted = want[i];
        if (i >= count) {
            return std::string("table ") + wanted.name + " missing";
        }
        const RFC_TABLE& table = list[i];
        std::string name = EntryName(table.name, table.nlen);
        if (name != wanted.name) {
            return "table " + std::to_string(i + 1) + " is " + name + ", expected " + wanted.name;
        }
        std::string what = std::string("table ") + wanted.name;
        std::string problem = CheckNameLength(what, table.nlen, wanted.name);
        if (!problem.empty()) return problem;
        problem = CheckStructure(what, table.type, *wanted.structure);
        if (!problem.empty()) return problem;
        if (table.ithandle == nullptr) {
            return what + " has no internal table";
        }
        const InternalTable* internal = FindTable(table.ithandle);
        if (internal == nullptr) {
            return what + " has an unknown internal table";
        }
        if (internal->row_length != wanted.row_length) {
            return what + " has rows of " + std::to_string(internal->row_length) + " bytes, expected " +
                   std::to_string(wanted.row_length);
        }
    }
    return "";
}

void FillImporting(const ModuleDef& module, const System& system, RFC_PARAMETER* importing)
{
    for (std::size_t i = 0; i < module.importing.size(); ++i) {
        std::string value = Answer(module.importing[i], system);
        std::memcpy(importing[i].addr, value.data(), value.size());
    }
}

void AppendRows(const ModuleDef& module, const System& system, RFC_TABLE* tables)
{
    for (std::size_t i = 0; i < module.tables.size(); ++i) {
        const TableDef& wanted = module.tables[i];
        InternalTable* table = FindTable(tables[i].ithandle);
        unsigned rows = RowsFor(wanted, system);
        std::vector<unsigned> offsets = Offsets(*wanted.structure);
        table->rows.reserve(table->rows.size() + std::size_t{rows} * wanted.row_length);
        for (unsigned n = 1; n <= rows; ++n) {
            std::string row = Row(system, *wanted.structure, offsets, wanted.row_length, table->row_count + 1);
            table->rows.insert(table->rows.end(), row.begin(), row.end());
            ++table->row_count;
        }
    }
}

}  // namespace rfcsim
