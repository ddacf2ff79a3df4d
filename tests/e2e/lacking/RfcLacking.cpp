// An RFC library that exports every operation the sensor looks up but
// RfcLastError. The sensor must refuse it before calling any of them, so the
// stubs only have to exist. It needs the library RfcLackingPart beside it.
#include "rfc/RfcInterface.h"

#ifdef _WIN32
#define LACKING_EXPORT extern "C" __declspec(dllexport)
#else
#define LACKING_EXPORT extern "C" __attribute__((visibility("default")))
#endif

extern "C" int RfcLackingPart();

LACKING_EXPORT void RfcEnvironment(RFC_ENV*) { RfcLackingPart(); }
LACKING_EXPORT RFC_HANDLE RfcOpen(RFC_OPTIONS*) { return 0; }
LACKING_EXPORT RFC_HANDLE RfcOpenEx(char*, RFC_ERROR_INFO_EX*) { return 0; }
LACKING_EXPORT RFC_RC RfcInstallStructure(char*, RFC_TYPE_ELEMENT*, unsigned, RFC_TYPEHANDLE*) { return RFC_FAILURE; }
LACKING_EXPORT RFC_RC RfcCall(RFC_HANDLE, char*, RFC_PARAMETER*, RFC_TABLE*) { return RFC_FAILURE; }
LACKING_EXPORT RFC_RC RfcReceive(RFC_HANDLE, RFC_PARAMETER*, RFC_TABLE*, char**) { return RFC_FAILURE; }
LACKING_EXPORT ITAB_H ItCreate(char*, unsigned, unsigned, unsigned) { return nullptr; }
LACKING_EXPORT unsigned ItFill(ITAB_H) { return 0; }
LACKING_EXPORT void* ItGetLine(ITAB_H, unsigned) { return nullptr; }
LACKING_EXPORT int ItDelete(ITAB_H) { return 0; }
LACKING_EXPORT void RfcClose(RFC_HANDLE) {}
