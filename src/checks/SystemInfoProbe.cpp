#include "checks/SystemInfoProbe.h"

#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"

namespace {

void InstallRfcsi() {
    RFC_TYPE_ELEMENT fields[] = {
        Field("RFCPROTO", RFCTYPE_CHAR, 3),    Field("RFCCHARTYP", RFCTYPE_CHAR, 4), Field("RFCINTTYP", RFCTYPE_CHAR, 3),
        Field("RFCFLOTYP", RFCTYPE_CHAR, 3),   Field("RFCDEST", RFCTYPE_CHAR, 32),   Field("RFCHOST", RFCTYPE_CHAR, 8),
        Field("RFCSYSID", RFCTYPE_CHAR, 8),    Field("RFCDATABS", RFCTYPE_CHAR, 8),  Field("RFCDBHOST", RFCTYPE_CHAR, 32),
        Field("RFCDBSYS", RFCTYPE_CHAR, 10),   Field("RFCSAPRL", RFCTYPE_CHAR, 4),   Field("RFCMACH", RFCTYPE_CHAR, 5),
        Field("RFCOPSYS", RFCTYPE_CHAR, 10),   Field("RFCTZONE", RFCTYPE_CHAR, 6),   Field("RFCDAYST", RFCTYPE_CHAR, 1),
        Field("RFCIPADDR", RFCTYPE_CHAR, 15),  Field("RFCKERNRL", RFCTYPE_CHAR, 4),  Field("RFCSI_RESV", RFCTYPE_CHAR, 44),
    };
    InstallStructureOnce("RFCSI", fields, 18, Rfc.Types.RFCSI);
}

// A field's characters up to its length, ending early at a zero byte.
std::string FieldText(const char* record, unsigned offset, unsigned length) {
    std::string text;
    for (unsigned i = 0; i < length && record[offset + i] != '\0'; ++i) text.push_back(record[offset + i]);
    return text;
}

}  // namespace

int CallSystemInfo(RFC_HANDLE handle, SystemInfoImports& imports, std::string& exceptionText) {
    InstallRfcsi();
    RFC_PARAMETER exporting[] = {RFC_PARAMETER{}};
    RFC_TABLE tables[] = {RFC_TABLE{}};
    int code = CallFunctionModule(handle, "RFC_SYSTEM_INFO", exporting, tables);
    if (code != RFC_OK) return code;

    RFC_PARAMETER importing[] = {
        Parameter("CURRENT_RESOURCES", RFCTYPE_INT, 4, &imports.CURRENT_RESOURCES),
        Parameter("DIALOG_USER_TYPE", RFCTYPE_CHAR, 1, imports.DIALOG_USER_TYPE),
        Parameter("MAXIMAL_RESOURCES", RFCTYPE_INT, 4, &imports.MAXIMAL_RESOURCES),
        Parameter("RECOMMENDED_DELAY", RFCTYPE_INT, 4, &imports.RECOMMENDED_DELAY),
        Parameter("RFCSI_EXPORT", Rfc.Types.RFCSI, RfcsiLength, imports.RFCSI_EXPORT),
        Parameter("RFC_LOGIN_COMPLETE", RFCTYPE_CHAR, 1, imports.RFC_LOGIN_COMPLETE),
        RFC_PARAMETER{},
    };
    return ReceiveAnswer(handle, importing, tables, exceptionText);
}

SystemInfo ProbeSystemInfo(RFC_HANDLE handle) {
    SystemInfoImports imports;
    std::string exceptionText;
    SystemInfo info;
    info.Outcome = CallOutcome::Of(CallSystemInfo(handle, imports, exceptionText), exceptionText);
    if (info.Outcome.Ok()) {
        info.DatabaseSystem = FieldText(imports.RFCSI_EXPORT, RFCDBSYS_Offset, RFCDBSYS_Length);
        info.Host = FieldText(imports.RFCSI_EXPORT, RFCHOST_Offset, RFCHOST_Length);
    }
    return info;
}

bool DatabaseIsOracle(const std::string& databaseSystem) { return databaseSystem.compare(0, 3, "ORA") == 0; }
