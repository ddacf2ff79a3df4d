#include "checks/CriticalObjects.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

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

// A CHAR field without its trailing blanks (and NULs, which some libraries pad with).
std::string CharField(const unsigned char* row, std::size_t offset, std::size_t length) {
    std::string text(reinterpret_cast<const char*>(row) + offset, length);
    const std::size_t end = text.find_last_not_of(std::string(" \0", 2));
    text.resize(end == std::string::npos ? 0 : end + 1);
    return text;
}

std::int32_t IntField(const unsigned char* row, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, row + offset, sizeof value);
    return value;
}

// Fetches every row of a table and hands each to `take`; a null row ends the process.
template <typename Take>
void ForEachRow(ITAB_H table, const char* name, Take take) {
    const unsigned rows = Rfc.ItFill(table);
    for (unsigned long long index = 1; index <= rows; ++index) {
        const void* row = Rfc.ItGetLine(table, static_cast<unsigned>(index));
        if (!row) ReportRfcFailure(std::string("ItGetLine ") + name);
        take(static_cast<const unsigned char*>(row));
    }
}

// Counts the rows that EXCLUDE= leaves in and names the first `limit` of them.
template <typename Row>
unsigned long long TakeRow(Row&& row, const CriticalNamesOptions& options, std::vector<Row>& named,
                           unsigned long long& unnamed, unsigned long long& excluded) {
    if (TablespaceExcluded(options.Excluded, row.TS)) {
        ++excluded;
        return 0;
    }
    if (named.size() < options.Limit)
        named.push_back(std::move(row));
    else
        ++unnamed;
    return 1;
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

CriticalTablespace TablespaceRow(const unsigned char* row) {
    CriticalTablespace tablespace;
    tablespace.TS = CharField(row, 0, 30);
    for (std::size_t at = 0; at < tablespace.Figures.size(); ++at) tablespace.Figures[at] = IntField(row, 32 + 4 * at);
    return tablespace;
}

CriticalObject ObjectRow(const unsigned char* row) {
    CriticalObject object;
    object.ON = CharField(row, 0, 30);
    object.TN = CharField(row, 30, 30);
    object.TS = CharField(row, 60, 30);
    for (std::size_t at = 0; at < object.Figures.size(); ++at) object.Figures[at] = IntField(row, 92 + 4 * at);
    return object;
}

CriticalObjectsMeasurement CheckCriticalObjects(RFC_HANDLE handle, const CriticalNamesOptions& options) {
    char flagRefresh[1] = {' '};
    CriticalObjectsImports imports;
    std::string exceptionText;

    ITAB_H critObjTable = CreateTable("CRITOBJ", CritObjRowLength);
    ITAB_H tsCheckTable = CreateTable("TS_CHECK", TspcCheckRowLength);

    CriticalObjectsMeasurement measurement;
    const int code = CallCriticalObjects(handle, flagRefresh, imports, critObjTable, tsCheckTable, exceptionText);
    measurement.Outcome = CallOutcome::Of(code, exceptionText);
    if (measurement.Outcome.Ok()) {
        CriticalNames& names = measurement.Names;
        long long spaces = 0, objects = 0;
        ForEachRow(tsCheckTable, "TS_CHECK", [&](const unsigned char* row) {
            spaces += TakeRow(TablespaceRow(row), options, names.Tablespaces, names.UnnamedTablespaces, names.Excluded);
        });
        ForEachRow(critObjTable, "CRITOBJ", [&](const unsigned char* row) {
            objects += TakeRow(ObjectRow(row), options, names.Objects, names.UnnamedObjects, names.Excluded);
        });
        // In the order of ChannelNames.
        measurement.Values = {spaces, objects, CritNrValue(imports, 8), CritNrValue(imports, 0), CritNrValue(imports, 4)};
    }

    DeleteTable(critObjTable, "CRITOBJ");
    DeleteTable(tsCheckTable, "TS_CHECK");
    return measurement;
}
