// The classic interface's side of the three function modules: the checks of
// what a caller passes against the system's definitions (SystemModel.h), and
// the answers laid out in the caller's buffers and internal tables.
#ifndef RFCSIM_MODULES_H
#define RFCSIM_MODULES_H

#include "RfcInterface.h"
#include "Scenario.h"
#include "SystemModel.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rfcsim {

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
