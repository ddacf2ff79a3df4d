// The rows of DB02_ORA_FILL_TS_CHECK__CRITOB under SAP's field names: a
// critical tablespace (TS_CHECK, structure TSPC_CHECK) and a critical database
// object (CRITOBJ, structure CRIT_OBJ), and what a system's report names of them.
// The figures' meanings and units are SAP's; the docs give the likely ones.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr std::array<const char*, 7> TablespaceFigureNames = {
    "MAXBLKFREE", "ANZBLKFREE", "TOTBLKFREE", "MAXNEXTEXT", "CRITICALS1", "CRITICALS2", "CRITICALS3"};
constexpr std::array<const char*, 6> ObjectFigureNames = {"MAXBLKFREE", "ANZBLKFREE", "TOTBLKFREE",
                                                          "MAXNEXTEXT", "CRITICALS1", "CRITICALS2"};

// CHAR fields without their trailing blanks, in the code page the library
// handed them; a name may be blank or hold any byte.
struct CriticalTablespace {
    std::string TS;
    std::array<std::int32_t, TablespaceFigureNames.size()> Figures{};
};

struct CriticalObject {
    std::string ON;  // the object
    std::string TN;  // its table
    std::string TS;  // its tablespace
    std::array<std::int32_t, ObjectFigureNames.size()> Figures{};
};

// What a system's report names: the first rows of each kind that EXCLUDE=
// leaves in, as many as the limit, in SAP's order, and how many are not named.
struct CriticalNames {
    std::vector<CriticalTablespace> Tablespaces;
    std::vector<CriticalObject> Objects;
    unsigned long long UnnamedTablespaces = 0;  // beyond the limit
    unsigned long long UnnamedObjects = 0;
    unsigned long long Excluded = 0;  // rows left out by EXCLUDE= (tablespaces and the objects in them)
};
