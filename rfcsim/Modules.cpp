#include "Modules.h"

#include "Text.h"

#include <cstdint>
#include <cstring>
#include <ctime>

namespace rfcsim {

namespace {

// ---- Structures of the simulated system ----

const FieldDef kRfcsiFields[] = {
    {"RFCPROTO", RFCTYPE_CHAR, 3},   {"RFCCHARTYP", RFCTYPE_CHAR, 4}, {"RFCINTTYP", RFCTYPE_CHAR, 3},
    {"RFCFLOTYP", RFCTYPE_CHAR, 3},  {"RFCDEST", RFCTYPE_CHAR, 32},   {"RFCHOST", RFCTYPE_CHAR, 8},
    {"RFCSYSID", RFCTYPE_CHAR, 8},   {"RFCDATABS", RFCTYPE_CHAR, 8},  {"RFCDBHOST", RFCTYPE_CHAR, 32},
    {"RFCDBSYS", RFCTYPE_CHAR, 10},  {"RFCSAPRL", RFCTYPE_CHAR, 4},   {"RFCMACH", RFCTYPE_CHAR, 5},
    {"RFCOPSYS", RFCTYPE_CHAR, 10},  {"RFCTZONE", RFCTYPE_CHAR, 6},   {"RFCDAYST", RFCTYPE_CHAR, 1},
    {"RFCIPADDR", RFCTYPE_CHAR, 15}, {"RFCKERNRL", RFCTYPE_CHAR, 4},  {"RFCSI_RESV", RFCTYPE_CHAR, 44},
};

const FieldDef kCpuAllFields[] = {
    {"TYPE", RFCTYPE_INT2, 2},     {"SUBTYPE", RFCTYPE_INT2, 2},   {"SERIALNR", RFCTYPE_INT2, 2},
    {"NBR_CPU", RFCTYPE_INT, 4},   {"LOAD1_AVG", RFCTYPE_INT, 4},  {"LOAD5_AVG", RFCTYPE_INT, 4},
    {"LOAD15_AVG", RFCTYPE_INT, 4}, {"INT_SEC", RFCTYPE_INT, 4},   {"SYSC_SEC", RFCTYPE_INT, 4},
    {"CS_SEC", RFCTYPE_INT, 4},    {"USR_TOTAL", RFCTYPE_INT, 4},  {"SYS_TOTAL", RFCTYPE_INT, 4},
    {"IDLE_TOTAL", RFCTYPE_INT, 4},
};

const FieldDef kDateTimeFields[] = {
    {"MONI_DATE", RFCTYPE_DATE, 8},
    {"MONI_TIME", RFCTYPE_TIME, 6},
};

const FieldDef kCritNrFields[] = {
    {"NR_TABLES", RFCTYPE_INT, 4},
    {"NR_INDEXES", RFCTYPE_INT, 4},
    {"NR_TS", RFCTYPE_INT, 4},
};

const FieldDef kCritObjFields[] = {
    {"ON", RFCTYPE_CHAR, 30},        {"TN", RFCTYPE_CHAR, 30},         {"TS", RFCTYPE_CHAR, 30},
    {"MAXBLKFREE", RFCTYPE_INT, 4},  {"ANZBLKFREE", RFCTYPE_INT, 4},   {"TOTBLKFREE", RFCTYPE_INT, 4},
    {"MAXNEXTEXT", RFCTYPE_INT, 4},  {"CRITICALS1", RFCTYPE_INT, 4},   {"CRITICALS2", RFCTYPE_INT, 4},
};

const FieldDef kTspcCheckFields[] = {
    {"TS", RFCTYPE_CHAR, 30},        {"MAXBLKFREE", RFCTYPE_INT, 4},   {"ANZBLKFREE", RFCTYPE_INT, 4},
    {"TOTBLKFREE", RFCTYPE_INT, 4},  {"MAXNEXTEXT", RFCTYPE_INT, 4},   {"CRITICALS1", RFCTYPE_INT, 4},
    {"CRITICALS2", RFCTYPE_INT, 4},  {"CRITICALS3", RFCTYPE_INT, 4},
};

const StructDef kRfcsi{"RFCSI", kRfcsiFields};
const StructDef kCpuAll{"CPU_ALL", kCpuAllFields};
const StructDef kDateTime{"DATE_TIME", kDateTimeFields};
const StructDef kCritNr{"CRIT_NR_S", kCritNrFields};
const StructDef kCritObj{"CRIT_OBJ", kCritObjFields};
const StructDef kTspcCheck{"TSPC_CHECK", kTspcCheckFields};

// ---- Function modules ----

const ParamDef kSystemInfoImporting[] = {
    {"CURRENT_RESOURCES", RFCTYPE_INT, nullptr, 4, nullptr},
    {"DIALOG_USER_TYPE", RFCTYPE_CHAR, nullptr, 1, nullptr},
    {"MAXIMAL_RESOURCES", RFCTYPE_INT, nullptr, 4, nullptr},
    {"RECOMMENDED_DELAY", RFCTYPE_INT, nullptr, 4, nullptr},
    {"RFCSI_EXPORT", 0, &kRfcsi, 200, nullptr},
    {"RFC_LOGIN_COMPLETE", RFCTYPE_CHAR, nullptr, 1, nullptr},
};

const ParamDef kCpuExporting[] = {
    {"LOCAL_REMOTE", RFCTYPE_CHAR, nullptr, 6, "LOCAL "},
    {"LOGICAL_DESTINATION", RFCTYPE_CHAR, nullptr, 32, nullptr},
};

const ParamDef kCpuImporting[] = {
    {"ACTIVEFLAG", RFCTYPE_INT, nullptr, 4, nullptr},   {"DETAILSCOLL", RFCTYPE_INT, nullptr, 4, nullptr},
    {"DETAILSMODE", RFCTYPE_INT, nullptr, 4, nullptr},  {"DETAILSREQI", RFCTYPE_INT, nullptr, 4, nullptr},
    {"F_CPU_ALL_READ", RFCTYPE_CHAR, nullptr, 3, nullptr}, {"INTERVAL", RFCTYPE_INT, nullptr, 4, nullptr},
    {"LASTCOLLINT", RFCTYPE_INT, nullptr, 4, nullptr},  {"LASTCOLLWRT", RFCTYPE_CHAR, nullptr, 25, nullptr},
    {"NORMCOLLINT", RFCTYPE_INT, nullptr, 4, nullptr},  {"OP_SYSTEM", RFCTYPE_CHAR, nullptr, 52, nullptr},
};

const TableDef kCpuTables[] = {
    {"TF_CPU_ALL", &kCpuAll, 48},
};

const ParamDef kCritExporting[] = {
    {"FLAG_REFRESH", RFCTYPE_CHAR, nullptr, 1, nullptr},
};

const ParamDef kCritImporting[] = {
    {"CURR_DATE", RFCTYPE_DATE, nullptr, 8, nullptr},
    {"CURR_TIME", RFCTYPE_TIME, nullptr, 6, nullptr},
    {"DATETIME", 0, &kDateTime, 14, nullptr},
    {"NR_CRIT_OBJ", 0, &kCritNr, 12, nullptr},
};

const TableDef kCritTables[] = {
    {"CRITOBJ", &kCritObj, 116},
    {"TS_CHECK", &kTspcCheck, 60},
};

const ModuleDef kModules[] = {
    {"RFC_SYSTEM_INFO", {}, kSystemInfoImporting, {}},
    {"GET_CPU_ALL", kCpuExporting, kCpuImporting, kCpuTables},
    {"DB02_ORA_FILL_TS_CHECK__CRITOB", kCritExporting, kCritImporting, kCritTables},
};

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

std::string Padded(const std::string& text, unsigned length)
{
    std::string result = text.substr(0, length);
    result.resize(length, ' ');
    return result;
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

// Today as YYYYMMDD and the time as HHMMSS, local time of the simulated system.
std::string Clock(const char* format, std::size_t length)
{
    std::time_t now = std::time(nullptr);
    char text[16] = "";
    const std::tm* local = std::localtime(&now);
    if (local == nullptr || std::strftime(text, sizeof text, format, local) != length) {
        return std::string(length, '0');
    }
    return text;
}

std::string RfcsiRecord(const System& system)
{
    std::string record;
    for (const FieldDef& field : kRfcsi.fields) {
        record += Padded(RfcsiValue(system, field.name), field.length);
    }
    return record;
}

// Simple answers of the importing parameters nobody evaluates.
struct PlainAnswer {
    const char* name;
    int number;
    const char* text;
};

const PlainAnswer kPlainAnswers[] = {
    {"CURRENT_RESOURCES", 3, ""}, {"DIALOG_USER_TYPE", 0, "X"}, {"MAXIMAL_RESOURCES", 5, ""},
    {"RECOMMENDED_DELAY", 0, ""}, {"RFC_LOGIN_COMPLETE", 0, "X"}, {"ACTIVEFLAG", 1, ""},
    {"DETAILSCOLL", 1, ""},       {"DETAILSMODE", 0, ""},       {"DETAILSREQI", 0, ""},
    {"F_CPU_ALL_READ", 0, "YES"}, {"INTERVAL", 10, ""},         {"LASTCOLLINT", 10, ""},
    {"LASTCOLLWRT", 0, ""},       {"NORMCOLLINT", 10, ""},
};

std::string Answer(const ParamDef& param, const System& system)
{
    std::string name = param.name;
    if (name == "RFCSI_EXPORT") return RfcsiRecord(system);
    if (name == "NR_CRIT_OBJ") return IntBytes(system.nr_tables) + IntBytes(system.nr_indexes) + IntBytes(system.nr_ts);
    if (name == "CURR_DATE") return Clock("%Y%m%d", 8);
    if (name == "CURR_TIME") return Clock("%H%M%S", 6);
    if (name == "DATETIME") return Clock("%Y%m%d", 8) + Clock("%H%M%S", 6);
    if (name == "OP_SYSTEM") return Padded(RfcsiValue(system, "RFCOPSYS"), param.length);
    for (const PlainAnswer& answer : kPlainAnswers) {
        if (name == answer.name) {
            if (param.type == RFCTYPE_INT) return IntBytes(answer.number);
            return Padded(answer.text, param.length);
        }
    }
    return std::string(param.length, param.type == RFCTYPE_CHAR ? ' ' : '\0');
}

// Row `index` (from 1) of a table: CHAR fields hold NAME_index, numbers the index.
std::string Row(const StructDef& structure, const std::vector<unsigned>& offsets, unsigned row_length,
                unsigned index)
{
    std::string row(row_length, '\0');
    for (std::size_t i = 0; i < structure.fields.size(); ++i) {
        const FieldDef& field = structure.fields[i];
        std::string value;
        if (field.type == RFCTYPE_INT) {
            value = IntBytes(static_cast<std::int32_t>(index));
        } else if (field.type == RFCTYPE_INT2) {
            value = Int2Bytes(static_cast<std::int16_t>(index));
        } else {
            value = Padded(std::string(field.name) + "_" + std::to_string(index), field.length);
        }
        row.replace(offsets[i], value.size(), value);
    }
    return row;
}

unsigned RowsFor(const TableDef& table, const System& system)
{
    std::string name = table.name;
    if (name == "TF_CPU_ALL") return system.cpu_rows;
    if (name == "CRITOBJ") return system.critobj_rows;
    if (name == "TS_CHECK") return system.tscheck_rows;
    return 0;
}

}  // namespace

const ModuleDef* FindModule(std::string_view name)
{
    for (const ModuleDef& module : kModules) {
        if (name == module.name) {
            return &module;
        }
    }
    return nullptr;
}

const StructDef& RfcsiStructure()
{
    return kRfcsi;
}

int FindField(const StructDef& structure, std::string_view name)
{
    for (std::size_t i = 0; i < structure.fields.size(); ++i) {
        if (name == structure.fields[i].name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

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
            std::string row = Row(*wanted.structure, offsets, wanted.row_length, table->row_count + 1);
            table->rows.insert(table->rows.end(), row.begin(), row.end());
            ++table->row_count;
        }
    }
}

}  // namespace rfcsim
