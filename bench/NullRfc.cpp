// An RFC library that does as little as the sensor lets it: every logon and
// every call succeeds at once, tables stay empty, the system is on Oracle. Run
// against it, the multi-system run shows what the sensor itself costs per system.
#include <cstring>
#include <new>

#include "rfc/RfcInterface.h"

namespace {

RFC_HANDLE NextHandle = 1;
RFC_TYPEHANDLE NextType = 10;
// Where the database system lies in the system information record.
constexpr unsigned RfcdbsysOffset = 101;

bool Named(const RFC_PARAMETER& parameter, const char* name) {
    return parameter.nlen == std::strlen(name) && std::memcmp(parameter.name, name, parameter.nlen) == 0;
}

}  // namespace

extern "C" {

void RFC_LIBRARY_CALL RfcEnvironment(RFC_ENV*) {}
RFC_HANDLE RFC_LIBRARY_CALL RfcOpen(RFC_OPTIONS*) { return NextHandle++; }
RFC_HANDLE RFC_LIBRARY_CALL RfcOpenEx(char*, RFC_ERROR_INFO_EX*) { return NextHandle++; }
void RFC_LIBRARY_CALL RfcClose(RFC_HANDLE) {}

RFC_RC RFC_LIBRARY_CALL RfcInstallStructure(char*, RFC_TYPE_ELEMENT*, unsigned, RFC_TYPEHANDLE* handle) {
    *handle = NextType++;
    return RFC_OK;
}

RFC_RC RFC_LIBRARY_CALL RfcCall(RFC_HANDLE, char*, RFC_PARAMETER*, RFC_TABLE*) { return RFC_OK; }

RFC_RC RFC_LIBRARY_CALL RfcReceive(RFC_HANDLE, RFC_PARAMETER* importing, RFC_TABLE*, char**) {
    for (RFC_PARAMETER* parameter = importing; parameter && parameter->name; ++parameter) {
        std::memset(parameter->addr, parameter->type == RFCTYPE_INT ? 0 : ' ', parameter->leng);
        if (Named(*parameter, "RFCSI_EXPORT") && parameter->leng >= RfcdbsysOffset + 6)
            std::memcpy(static_cast<char*>(parameter->addr) + RfcdbsysOffset, "ORACLE", 6);
    }
    return RFC_OK;
}

ITAB_H RFC_LIBRARY_CALL ItCreate(char*, unsigned, unsigned, unsigned) { return new (std::nothrow) char; }
unsigned RFC_LIBRARY_CALL ItFill(ITAB_H) { return 0; }
void* RFC_LIBRARY_CALL ItGetLine(ITAB_H, unsigned) { return nullptr; }
int RFC_LIBRARY_CALL ItDelete(ITAB_H table) {
    delete static_cast<char*>(table);
    return 0;
}
int RFC_LIBRARY_CALL RfcLastError(RFC_ERROR_INFO* info) {
    std::memset(info, 0, sizeof *info);
    return 0;
}

}  // extern "C"
