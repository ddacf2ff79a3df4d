// The simulated system's side of the three function modules: their
// structures and parameters as the system defines them, the checks of what a
// caller passes against those definitions, and the answers.
#ifndef RFCSIM_MODULES_H
#define RFCSIM_MODULES_H

#include "RfcInterface.h"
#include "Scenario.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rfcsim {

struct FieldDef {
    const char* name;
    RFC_TYPEHANDLE type;
    unsigned length;
};

struct StructDef {
    const char* name;
    std::span<const FieldDef> fields;
};

struct ParamDef {
    const char* name;
    RFC_TYPEHANDLE type;          // built-in type; ignored when structure is set
    const StructDef* structure;   // typed by this structure, or null
    unsigned length;
    const char* required_value;   // exporting value the module insists on, or null
};

struct TableDef {
    const char* name;
    const StructDef* structure;
    unsigned row_length;
};

struct ModuleDef {
    const char* name;
    std::span<const ParamDef> exporting;
    std::span<const ParamDef> importing;
    std::span<const TableDef> tables;
};

// A structure as a caller installed it with RfcInstallStructure.
struct InstalledField {
    std::string name;
    RFC_TYPEHANDLE type;
    unsigned length;
    unsigned decimals;
    unsigned offset;   // laid out by the library
};

struct InstalledStructure {
    std::string name;
    RFC_TYPEHANDLE handle;
    std::vector<InstalledField> fields;
    unsigned size;
    unsigned alignment;
};

// An internal table created with ItCreate.
struct InternalTable {
    std::string name;
    unsigned row_length;
    std::vector<char> rows;   // row_length bytes per row
    unsigned row_count;
};

// Provided by the library part: the structures installed so far.
const InstalledStructure* FindStructure(RFC_TYPEHANDLE handle);
// Provided by the library part: a live internal table, or null.
InternalTable* FindTable(ITAB_H handle);

const ModuleDef* FindModule(std::string_view name);
const StructDef& RfcsiStructure();
// Index of a field in a structure definition, -1 when it has none of that name.
int FindField(const StructDef& structure, std::string_view name);

// Byte alignment of a built-in type (CHAR, DATE, TIME 1; INT2 2; INT 4).
unsigned BuiltinAlignment(RFC_TYPEHANDLE type);

// What differs between the lists a caller passed and the module's
// definition; empty when they match. RfcCall passes the exporting list,
// RfcReceive the importing list; both pass the table list.
std::string CheckParameters(const char* kind, RFC_PARAMETER* list, std::span<const ParamDef> want);
std::string CheckTables(RFC_TABLE* list, std::span<const TableDef> want);

// Fill the importing buffers and append rows to the tables for a successful
// RfcReceive. Both lists have been checked against the module before.
void FillImporting(const ModuleDef& module, const System& system, RFC_PARAMETER* importing);
void AppendRows(const ModuleDef& module, const System& system, RFC_TABLE* tables);

}  // namespace rfcsim

#endif
