#include "checks/CpuProbe.h"

#include <cstring>

#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"

namespace {

void InstallCpuAll() {
    RFC_TYPE_ELEMENT fields[] = {
        Field("TYPE", RFCTYPE_INT2, 2),      Field("SUBTYPE", RFCTYPE_INT2, 2),   Field("SERIALNR", RFCTYPE_INT2, 2),
        Field("NBR_CPU", RFCTYPE_INT, 4),    Field("LOAD1_AVG", RFCTYPE_INT, 4),  Field("LOAD5_AVG", RFCTYPE_INT, 4),
        Field("LOAD15_AVG", RFCTYPE_INT, 4), Field("INT_SEC", RFCTYPE_INT, 4),    Field("SYSC_SEC", RFCTYPE_INT, 4),
        Field("CS_SEC", RFCTYPE_INT, 4),     Field("USR_TOTAL", RFCTYPE_INT, 4),  Field("SYS_TOTAL", RFCTYPE_INT, 4),
        Field("IDLE_TOTAL", RFCTYPE_INT, 4),
    };
    InstallStructureOnce("CPU_ALL", fields, 13, Rfc.Types.CPU_ALL);
}

}  // namespace

int CallCpuAll(RFC_HANDLE handle, char (&localRemote)[6], char (&logicalDestination)[32], CpuAllImports& imports,
               ITAB_H cpuTable, std::string& exceptionText) {
    InstallCpuAll();
    RFC_PARAMETER exporting[] = {
        Parameter("LOCAL_REMOTE", RFCTYPE_CHAR, sizeof localRemote, localRemote),
        Parameter("LOGICAL_DESTINATION", RFCTYPE_CHAR, sizeof logicalDestination, logicalDestination),
        RFC_PARAMETER{},
    };
    RFC_TABLE tables[] = {Table("TF_CPU_ALL", Rfc.Types.CPU_ALL, CpuAllRowLength, cpuTable), RFC_TABLE{}};
    int code = CallFunctionModule(handle, "GET_CPU_ALL", exporting, tables);
    if (code != RFC_OK) return code;

    RFC_PARAMETER importing[] = {
        Parameter("ACTIVEFLAG", RFCTYPE_INT, 4, &imports.ACTIVEFLAG),
        Parameter("DETAILSCOLL", RFCTYPE_INT, 4, &imports.DETAILSCOLL),
        Parameter("DETAILSMODE", RFCTYPE_INT, 4, &imports.DETAILSMODE),
        Parameter("DETAILSREQI", RFCTYPE_INT, 4, &imports.DETAILSREQI),
        Parameter("F_CPU_ALL_READ", RFCTYPE_CHAR, sizeof imports.F_CPU_ALL_READ, imports.F_CPU_ALL_READ),
        Parameter("INTERVAL", RFCTYPE_INT, 4, &imports.INTERVAL),
        Parameter("LASTCOLLINT", RFCTYPE_INT, 4, &imports.LASTCOLLINT),
        Parameter("LASTCOLLWRT", RFCTYPE_CHAR, sizeof imports.LASTCOLLWRT, imports.LASTCOLLWRT),
        Parameter("NORMCOLLINT", RFCTYPE_INT, 4, &imports.NORMCOLLINT),
        Parameter("OP_SYSTEM", RFCTYPE_CHAR, sizeof imports.OP_SYSTEM, imports.OP_SYSTEM),
        RFC_PARAMETER{},
    };
    return ReceiveAnswer(handle, importing, tables, exceptionText);
}

CallOutcome ProbeCpu(RFC_HANDLE handle) {
    char localRemote[6];
    char logicalDestination[32];
    std::memcpy(localRemote, "LOCAL ", sizeof localRemote);
    std::memset(logicalDestination, ' ', sizeof logicalDestination);
    CpuAllImports imports;
    std::string exceptionText;

    ITAB_H cpuTable = Rfc.ItCreate(const_cast<char*>("TF_CPU_ALL"), CpuAllRowLength, 0, 0);
    if (!cpuTable) ReportRfcFailure("ItCreate TF_CPU_ALL");

    int code = CallCpuAll(handle, localRemote, logicalDestination, imports, cpuTable, exceptionText);
    if (code == RFC_OK) {
        unsigned rows = Rfc.ItFill(cpuTable);
        for (unsigned long long index = 1; index <= rows; ++index)
            if (!Rfc.ItGetLine(cpuTable, static_cast<unsigned>(index))) ReportRfcFailure("ItGetLine TF_CPU_ALL");
    }

    if (Rfc.ItDelete(cpuTable) != 0) ReportRfcFailure("ItDelete TF_CPU_ALL");
    return CallOutcome::Of(code, exceptionText);
}
