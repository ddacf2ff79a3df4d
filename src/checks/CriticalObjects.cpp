#include "checks/CriticalObjects.h"

#include <cstdint>
#include <cstring>

#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"

namespace {

void InstallStructures() {
    RFC_TYPE_ELEMENT dateTime[] = {Field("MONI_DATE", RFCTYPE_DATE, 8), Field("MONI_TIME", RFCTYPE_TIME, 6)};
    InstallStructureOnce("DATE_TIME", dateTime, 2, Rfc.Types.DATE_TIME);

    RFC_TYPE_ELEMENT critNr[] = {Field("NR_TABLES", RFCTYPE_INT, 4), Field("NR_INDEXES", RFCTYPE_INT, 4),
                                 Field("NR_TS", RFCTYPE_INT, 4)};
    InstallStructureOnce("CRIT_NR_S", critNr, 3, Rfc.Types.CRIT_NR_S);

    RFC_TYPE_ELEMENT critObj[] = {
        Field("ON", RFCTYPE_CHAR, 30),        Field("TN", RFCTYPE_CHAR, 30),         Field("TS", RFCTYPE_CHAR, 30),
        Field("MAXBLKFREE", RFCTYPE_INT, 4),  Field("ANZBLKFREE", RFCTYPE_INT, 4),   Field("TOTBLKFREE", RFCTYPE_INT, 4),
        Field("MAXNEXTEXT", RFCTYPE_INT, 4),  Field("CRITICALS1", RFCTYPE_INT, 4),   Field("CRITICALS2", RFCTYPE_INT, 4),
    };
    InstallStructureOnce("CRIT_OBJ", critObj, 9, Rfc.Types.CRIT_OBJ);

    RFC_TYPE_ELEMENT tspcCheck[] = {
        Field("TS", RFCTYPE_CHAR, 30),        Field("MAXBLKFREE", RFCTYPE_INT, 4),  Field("ANZBLKFREE", RFCTYPE_INT, 4),
        Field("TOTBLKFREE", RFCTYPE_INT, 4),  Field("MAXNEXTEXT", RFCTYPE_INT, 4),  Field("CRITICALS1", RFCTYPE_INT, 4),
        Field("CRITICALS2", RFCTYPE_INT, 4),  Field("CRITICALS3", RFCTYPE_INT, 4),
    };
    InstallStructureOnce("TSPC_CHECK", tspcCheck, 8, Rfc.Types.TSPC_CHECK);
}

ITAB_H CreateTable(const char* name, unsigned rowLength) {
    ITAB_H table = Rfc.ItCreate(const_cast<char*>(name), rowLength, 0, 0);
    if (!table) ReportRfcFailure(std::string("ItCreate ") + name);
    return table;
}

void DeleteTable(ITAB_H table, const char* name) {
    if (Rfc.ItDelete(table) != 0) ReportRfcFailure(std::string("ItDelete ") + name);
}

// Fetches every row; the count equals the row count, the contents are not examined.
unsigned long CountRows(ITAB_H table, const char* name) {
    unsigned rows = Rfc.ItFill(table);
    unsigned long counted = 0;
    for (unsigned long long index = 1; index <= rows; ++index) {
        if (!Rfc.ItGetLine(table, static_cast<unsigned>(index))) ReportRfcFailure(std::string("ItGetLine ") + name);
        ++counted;
    }
    return counted;
}

long CritNrValue(const CriticalObjectsImports& imports, unsigned offset) {
    std::int32_t value;
    std::memcpy(&value, imports.NR_CRIT_OBJ + offset, sizeof value);
    return value;
}

}  // namespace

int CallCriticalObjects(RFC_HANDLE handle, char (&flagRefresh)[1], CriticalObjectsImports& imports,
                        ITAB_H critObjTable, ITAB_H tsCheckTable, std::string& exceptionText) {
    InstallStructures();
    RFC_PARAMETER exporting[] = {Parameter("FLAG_REFRESH", RFCTYPE_CHAR, 1, flagRefresh), RFC_PARAMETER{}};
    RFC_TABLE tables[] = {Table("CRITOBJ", Rfc.Types.CRIT_OBJ, CritObjRowLength, critObjTable),
                          Table("TS_CHECK", Rfc.Types.TSPC_CHECK, TspcCheckRowLength, tsCheckTable), RFC_TABLE{}};
    int code = CallFunctionModule(handle, "DB02_ORA_FILL_TS_CHECK__CRITOB", exporting, tables);
    if (code != RFC_OK) return code;

    RFC_PARAMETER importing[] = {
        Parameter("CURR_DATE", RFCTYPE_DATE, sizeof imports.CURR_DATE, imports.CURR_DATE),
        Parameter("CURR_TIME", RFCTYPE_TIME, sizeof imports.CURR_TIME, imports.CURR_TIME),
        Parameter("DATETIME", Rfc.Types.DATE_TIME, DateTimeLength, imports.DATETIME),
        Parameter("NR_CRIT_OBJ", Rfc.Types.CRIT_NR_S, CritNrLength, imports.NR_CRIT_OBJ),
        RFC_PARAMETER{},
    };
    return ReceiveAnswer(handle, importing, tables, exceptionText);
}

CriticalObjectsMeasurement CheckCriticalObjects(RFC_HANDLE handle) {
    char flagRefresh[1] = {' '};
    CriticalObjectsImports imports;
    std::string exceptionText;

    ITAB_H critObjTable = CreateTable("CRITOBJ", CritObjRowLength);
    ITAB_H tsCheckTable = CreateTable("TS_CHECK", TspcCheckRowLength);

    CriticalObjectsMeasurement measurement;
    const int code = CallCriticalObjects(handle, flagRefresh, imports, critObjTable, tsCheckTable, exceptionText);
    measurement.Outcome = CallOutcome::Of(code, exceptionText);
    if (measurement.Outcome.Ok()) {
        // In the order of ChannelNames.
        measurement.Values = {static_cast<long long>(CountRows(tsCheckTable, "TS_CHECK")),
                              static_cast<long long>(CountRows(critObjTable, "CRITOBJ")), CritNrValue(imports, 8),
                              CritNrValue(imports, 0), CritNrValue(imports, 4)};
    }

    DeleteTable(critObjTable, "CRITOBJ");
    DeleteTable(tsCheckTable, "TS_CHECK");
    return measurement;
}
