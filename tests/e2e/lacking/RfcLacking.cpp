// An RFC library that exports every operation the sensor looks up but
// RfcLastError. The sensor must refuse it before calling any of them, so the
// stubs only have to exist. It needs the library RfcLackingPart beside it.
#include "rfc/RfcInterface.h"

#ifndef LACKING_EXPORT  // a build that names the exports in a .def file defines it as extern "C"
#ifdef _WIN32
#define LACKING_EXPORT extern "C" __declspec(dllexport)
#else
#define LACKING_EXPORT extern "C" __attribute__((visibility("default")))
#endif
#endif

extern "C" int RfcLackingPart();

LACKING_EXPORT void RFC_LIBRARY_CALL RfcEnvironment(RFC_ENV*) { RfcLackingPart(); }
LACKING_EXPORT RFC_HANDLE RFC_LIBRARY_CALL RfcOpen(RFC_OPTIONS*) { return 0; }
LACKING_EXPORT RFC_HANDLE RFC_LIBRARY_CALL RfcOpenEx(char*, RFC_ERROR_INFO_EX*) { return 0; }
LACKING_EXPORT RFC_RC RFC_LIBRARY_CALL RfcInstallStructure(char*, RFC_TYPE_ELEMENT*, unsigned, RFC_TYPEHANDLE*) { return RFC_FAILURE; }
LACKING_EXPORT RFC_RC RFC_LIBRARY_CALL RfcCall(RFC_HANDLE, char*, RFC_PARAMETER*, RFC_TABLE*) { return RFC_FAILURE; }
LACKING_EXPORT RFC_RC RFC_LIBRARY_CALL RfcReceive(RFC_HANDLE, RFC_PARAMETER*, RFC_TABLE*, char**) { return RFC_FAILURE; }
LACKING_EXPORT ITAB_H RFC_LIBRARY_CALL ItCreate(char*, unsigned, unsigned, unsigned) { return nullptr; }
LACKING_EXPORT unsigned RFC_LIBRARY_CALL ItFill(ITAB_H) { return 0; }
LACKING_EXPORT void* RFC_LIBRARY_CALL ItGetLine(ITAB_H, unsigned) { return nullptr; }
LACKING_EXPORT int RFC_LIBRARY_CALL ItDelete(ITAB_H) { return 0; }
LACKING_EXPORT void RFC_LIBRARY_CALL RfcClose(RFC_HANDLE) {}
