// The simulated SAP system as both simulators see it: the structures and
// function modules it defines, and what it answers (importing values and
// table rows) for a system of the scenario. Nothing here depends on either
// RFC interface; rfcsim lays the answers out for the classic interface,
// nwrfcsim hands them out field by field.
#ifndef RFCSIM_SYSTEM_MODEL_H
#define RFCSIM_SYSTEM_MODEL_H

#include "Scenario.h"

#include <span>
#include <string>
#include <string_view>

namespace rfcsim {

// Field and parameter types of the simulated system. The numbers are the
// type codes of both RFC interfaces, classic and NetWeaver, which agree on
// these five.
enum FieldType : unsigned {
    kTypeChar = 0,
    kTypeDate = 1,
    kTypeTime = 3,
    kTypeInt = 8,    // 4 bytes
    kTypeInt2 = 9,   // 2 bytes
};

struct FieldDef {
    const char* name;
    unsigned type;     // a FieldType
    unsigned length;   // characters of a CHAR, DATE or TIME field; bytes of a number
};

struct StructDef {
    const char* name;
    std::span<const FieldDef> fields;
};

struct ParamDef {
    const char* name;
    unsigned type;                // a FieldType; ignored when structure is set
    const StructDef* structure;   // typed by this structure, or null
    unsigned length;              // classic length in bytes (the structure's laid-out size)
    const char* required_value;   // exporting value the module insists on, or null
};

struct TableDef {
    const char* name;
    const StructDef* structure;
    unsigned row_length;   // classic row length in bytes
};

struct ModuleDef {
    const char* name;
    std::span<const ParamDef> exporting;
    std::span<const ParamDef> importing;
    std::span<const TableDef> tables;
};

// The module of that name, or null.
const ModuleDef* FindModule(std::string_view name);
// The three modules, in a fixed order.
std::span<const ModuleDef> Modules();
const StructDef& RfcsiStructure();
// Index of a field in a structure definition, -1 when it has none of that name.
int FindField(const StructDef& structure, std::string_view name);

// `text` cut or blank-padded to `length` characters.
std::string Padded(const std::string& text, unsigned length);

// ---- Answers of a successful call ----
// Texts come blank-padded to their length; the date and time are the local
// clock of the simulated system (YYYYMMDD, HHMMSS).

// An importing parameter of a built-in type: the text of a CHAR, DATE or
// TIME parameter, the number of an INT or INT2 one.
std::string ParameterText(const ParamDef& param, const System& system);
int ParameterNumber(const ParamDef& param, const System& system);

// Field `field` of a structured importing parameter.
std::string ParameterFieldText(const ParamDef& param, std::size_t field, const System& system);
int ParameterFieldNumber(const ParamDef& param, std::size_t field, const System& system);

// Field `field` of row `row` (counted from 1) of a table: the scenario's
// contents for its named rows; otherwise CHAR fields hold FIELD_row, number
// fields the row number.
std::string RowFieldText(const System& system, const StructDef& structure, std::size_t field, unsigned row);
int RowFieldNumber(const System& system, const StructDef& structure, std::size_t field, unsigned row);

// The structure of a table of DB02_ORA_FILL_TS_CHECK__CRITOB, or null.
const StructDef* CriticalTableStructure(std::string_view table);

// Rows the system returns in a table.
unsigned RowsFor(const TableDef& table, const System& system);

}  // namespace rfcsim

#endif
