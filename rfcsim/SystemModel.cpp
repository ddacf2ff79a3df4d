#include "SystemModel.h"

#include "Text.h"

#include <algorithm>
#include <cstdint>
#include <ctime>

namespace rfcsim {

namespace {

// ---- Structures of the simulated system ----

const FieldDef kRfcsiFields[] = {
    {"RFCPROTO", kTypeChar, 3},   {"RFCCHARTYP", kTypeChar, 4}, {"RFCINTTYP", kTypeChar, 3},
    {"RFCFLOTYP", kTypeChar, 3},  {"RFCDEST", kTypeChar, 32},   {"RFCHOST", kTypeChar, 8},
    {"RFCSYSID", kTypeChar, 8},   {"RFCDATABS", kTypeChar, 8},  {"RFCDBHOST", kTypeChar, 32},
    {"RFCDBSYS", kTypeChar, 10},  {"RFCSAPRL", kTypeChar, 4},   {"RFCMACH", kTypeChar, 5},
    {"RFCOPSYS", kTypeChar, 10},  {"RFCTZONE", kTypeChar, 6},   {"RFCDAYST", kTypeChar, 1},
    {"RFCIPADDR", kTypeChar, 15}, {"RFCKERNRL", kTypeChar, 4},  {"RFCSI_RESV", kTypeChar, 44},
};

const FieldDef kCpuAllFields[] = {
    {"TYPE", kTypeInt2, 2},     {"SUBTYPE", kTypeInt2, 2},   {"SERIALNR", kTypeInt2, 2},
    {"NBR_CPU", kTypeInt, 4},   {"LOAD1_AVG", kTypeInt, 4},  {"LOAD5_AVG", kTypeInt, 4},
    {"LOAD15_AVG", kTypeInt, 4}, {"INT_SEC", kTypeInt, 4},   {"SYSC_SEC", kTypeInt, 4},
    {"CS_SEC", kTypeInt, 4},    {"USR_TOTAL", kTypeInt, 4},  {"SYS_TOTAL", kTypeInt, 4},
    {"IDLE_TOTAL", kTypeInt, 4},
};

const FieldDef kDateTimeFields[] = {
    {"MONI_DATE", kTypeDate, 8},
    {"MONI_TIME", kTypeTime, 6},
};

const FieldDef kCritNrFields[] = {
    {"NR_TABLES", kTypeInt, 4},
    {"NR_INDEXES", kTypeInt, 4},
    {"NR_TS", kTypeInt, 4},
};

const FieldDef kCritObjFields[] = {
    {"ON", kTypeChar, 30},        {"TN", kTypeChar, 30},         {"TS", kTypeChar, 30},
    {"MAXBLKFREE", kTypeInt, 4},  {"ANZBLKFREE", kTypeInt, 4},   {"TOTBLKFREE", kTypeInt, 4},
    {"MAXNEXTEXT", kTypeInt, 4},  {"CRITICALS1", kTypeInt, 4},   {"CRITICALS2", kTypeInt, 4},
};

const FieldDef kTspcCheckFields[] = {
    {"TS", kTypeChar, 30},        {"MAXBLKFREE", kTypeInt, 4},   {"ANZBLKFREE", kTypeInt, 4},
    {"TOTBLKFREE", kTypeInt, 4},  {"MAXNEXTEXT", kTypeInt, 4},   {"CRITICALS1", kTypeInt, 4},
    {"CRITICALS2", kTypeInt, 4},  {"CRITICALS3", kTypeInt, 4},
};

const StructDef kRfcsi{"RFCSI", kRfcsiFields};
const StructDef kCpuAll{"CPU_ALL", kCpuAllFields};
const StructDef kDateTime{"DATE_TIME", kDateTimeFields};
const StructDef kCritNr{"CRIT_NR_S", kCritNrFields};
const StructDef kCritObj{"CRIT_OBJ", kCritObjFields};
const StructDef kTspcCheck{"TSPC_CHECK", kTspcCheckFields};

// ---- Function modules ----

const ParamDef kSystemInfoImporting[] = {
    {"CURRENT_RESOURCES", kTypeInt, nullptr, 4, nullptr},
    {"DIALOG_USER_TYPE", kTypeChar, nullptr, 1, nullptr},
    {"MAXIMAL_RESOURCES", kTypeInt, nullptr, 4, nullptr},
    {"RECOMMENDED_DELAY", kTypeInt, nullptr, 4, nullptr},
    {"RFCSI_EXPORT", 0, &kRfcsi, 200, nullptr},
    {"RFC_LOGIN_COMPLETE", kTypeChar, nullptr, 1, nullptr},
};

const ParamDef kCpuExporting[] = {
    {"LOCAL_REMOTE", kTypeChar, nullptr, 6, "LOCAL "},
    {"LOGICAL_DESTINATION", kTypeChar, nullptr, 32, nullptr},
};

const ParamDef kCpuImporting[] = {
    {"ACTIVEFLAG", kTypeInt, nullptr, 4, nullptr},   {"DETAILSCOLL", kTypeInt, nullptr, 4, nullptr},
    {"DETAILSMODE", kTypeInt, nullptr, 4, nullptr},  {"DETAILSREQI", kTypeInt, nullptr, 4, nullptr},
    {"F_CPU_ALL_READ", kTypeChar, nullptr, 3, nullptr}, {"INTERVAL", kTypeInt, nullptr, 4, nullptr},
    {"LASTCOLLINT", kTypeInt, nullptr, 4, nullptr},  {"LASTCOLLWRT", kTypeChar, nullptr, 25, nullptr},
    {"NORMCOLLINT", kTypeInt, nullptr, 4, nullptr},  {"OP_SYSTEM", kTypeChar, nullptr, 52, nullptr},
};

const TableDef kCpuTables[] = {
    {"TF_CPU_ALL", &kCpuAll, 48},
};

const ParamDef kCritExporting[] = {
    {"FLAG_REFRESH", kTypeChar, nullptr, 1, nullptr},
};

const ParamDef kCritImporting[] = {
    {"CURR_DATE", kTypeDate, nullptr, 8, nullptr},
    {"CURR_TIME", kTypeTime, nullptr, 6, nullptr},
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

const PlainAnswer* FindPlainAnswer(const std::string& name)
{
    for (const PlainAnswer& answer : kPlainAnswers) {
        if (name == answer.name) {
            return &answer;
        }
    }
    return nullptr;
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

std::span<const ModuleDef> Modules()
{
    return kModules;
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

std::string Padded(const std::string& text, unsigned length)
{
    std::string result = text.substr(0, length);
    result.resize(length, ' ');
    return result;
}

std::string ParameterText(const ParamDef& param, const System& system)
{
    std::string name = param.name;
    if (name == "CURR_DATE") return Clock("%Y%m%d", 8);
    if (name == "CURR_TIME") return Clock("%H%M%S", 6);
    if (name == "OP_SYSTEM") return Padded(RfcsiValue(system, "RFCOPSYS"), param.length);
    const PlainAnswer* answer = FindPlainAnswer(name);
    return Padded(answer != nullptr ? answer->text : "", param.length);
}

int ParameterNumber(const ParamDef& param, const System&)
{
    const PlainAnswer* answer = FindPlainAnswer(param.name);
    return answer != nullptr ? answer->number : 0;
}

std::string ParameterFieldText(const ParamDef& param, std::size_t field, const System& system)
{
    const FieldDef& def = param.structure->fields[field];
    std::string name = def.name;
    if (param.structure == &kRfcsi) return Padded(RfcsiValue(system, name), def.length);
    if (name == "MONI_DATE") return Clock("%Y%m%d", 8);
    if (name == "MONI_TIME") return Clock("%H%M%S", 6);
    return Padded("", def.length);
}

int ParameterFieldNumber(const ParamDef& param, std::size_t field, const System& system)
{
    std::string name = param.structure->fields[field].name;
    if (name == "NR_TABLES") return system.nr_tables;
    if (name == "NR_INDEXES") return system.nr_indexes;
    if (name == "NR_TS") return system.nr_ts;
    return 0;
}

namespace {

// The scenario's contents of a field of a named row, or null for a made-up row.
const std::string* NamedField(const System& system, const StructDef& structure, std::size_t field, unsigned row)
{
    auto rows = system.named_rows.find(structure.name);
    if (rows == system.named_rows.end() || row == 0 || row > rows->second.size()) return nullptr;
    const std::vector<std::string>& fields = rows->second[row - 1];
    static const std::string kEmpty;
    return field < fields.size() ? &fields[field] : &kEmpty;
}

}  // namespace

std::string RowFieldText(const System& system, const StructDef& structure, std::size_t field, unsigned row)
{
    const FieldDef& def = structure.fields[field];
    if (const std::string* named = NamedField(system, structure, field, row)) return Padded(*named, def.length);
    return Padded(std::string(def.name) + "_" + std::to_string(row), def.length);
}

int RowFieldNumber(const System& system, const StructDef& structure, std::size_t field, unsigned row)
{
    if (const std::string* named = NamedField(system, structure, field, row)) {
        long long number = 0;
        return ParseInt(*named, number) ? static_cast<int>(number) : 0;
    }
    if (structure.fields[field].type == kTypeInt2) {
        return static_cast<std::int16_t>(row);
    }
    return static_cast<std::int32_t>(row);
}

const StructDef* CriticalTableStructure(std::string_view table)
{
    const ModuleDef* module = FindModule("DB02_ORA_FILL_TS_CHECK__CRITOB");
    for (const TableDef& def : module->tables) {
        if (table == def.name) return def.structure;
    }
    return nullptr;
}

unsigned RowsFor(const TableDef& table, const System& system)
{
    std::string name = table.name;
    auto named = system.named_rows.find(table.structure->name);
    if (named != system.named_rows.end()) {
        unsigned count = name == "CRITOBJ" ? system.critobj_rows : system.tscheck_rows;
        return std::max(count, static_cast<unsigned>(named->second.size()));
    }
    if (name == "TF_CPU_ALL") return system.cpu_rows;
    if (name == "CRITOBJ") return system.critobj_rows;
    if (name == "TS_CHECK") return system.tscheck_rows;
    return 0;
}

}  // namespace rfcsim
