// The critical objects check: DB02_ORA_FILL_TS_CHECK__CRITOB, the sensor's measurement.
#pragma once

#include <string>

#include "config/CriticalNamesOptions.h"
#include "report/RunReport.h"
#include "rfc/CallOutcome.h"
#include "rfc/RfcInterface.h"

constexpr unsigned CritObjRowLength = 116;
constexpr unsigned TspcCheckRowLength = 60;
constexpr unsigned DateTimeLength = 14;
constexpr unsigned CritNrLength = 12;

struct CriticalObjectsImports {
    char CURR_DATE[8] = {};
    char CURR_TIME[6] = {};
    char DATETIME[DateTimeLength] = {};
    char NR_CRIT_OBJ[CritNrLength] = {};  // NR_TABLES, NR_INDEXES, NR_TS
};

int CallCriticalObjects(RFC_HANDLE handle, char (&flagRefresh)[1], CriticalObjectsImports& imports,
                        ITAB_H critObjTable, ITAB_H tsCheckTable, std::string& exceptionText);

// The measurement: the call's return code and, when it succeeded, the five
// channels' values and the rows named. The two counts made of rows leave out
// the rows EXCLUDE= matches; the three SAP returns stay SAP's. A failed call
// leaves its outcome text for the run to gather (rfc/RfcErrors.h).
struct CriticalObjectsMeasurement {
    CallOutcome Outcome{RFC_FAILURE, ""};
    ChannelValues Values{};
    CriticalNames Names;
};
CriticalObjectsMeasurement CheckCriticalObjects(RFC_HANDLE handle, const CriticalNamesOptions& names);

// A row's fields at the offsets of the structures installed: TSPC_CHECK
// (TS at 0, its seven INTs from 32) and CRIT_OBJ (ON, TN, TS at 0, 30, 60,
// its six INTs from 92). The bytes are copied out, never read in place.
CriticalTablespace TablespaceRow(const unsigned char* row);
CriticalObject ObjectRow(const unsigned char* row);
