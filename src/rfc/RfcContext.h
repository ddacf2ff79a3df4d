// What the RFC library holds on to for the whole process, gathered in one
// context: the library calls back its error handler without an argument, keeps
// the structure type handles it gave out, and may keep pointers into the logon
// options it was handed. Nothing else of the sensor is process-wide here.
#pragma once

#include <string>

#include "rfc/RfcErrors.h"
#include "rfc/RfcInterface.h"

// The library's twelve operations, resolved when it is loaded.
struct RfcOperations {
    RfcEnvironment_t RfcEnvironment = nullptr;
    RfcOpen_t RfcOpen = nullptr;
    RfcOpenEx_t RfcOpenEx = nullptr;
    RfcInstallStructure_t RfcInstallStructure = nullptr;
    RfcCall_t RfcCall = nullptr;
    RfcReceive_t RfcReceive = nullptr;
    ItCreate_t ItCreate = nullptr;
    ItFill_t ItFill = nullptr;
    ItGetLine_t ItGetLine = nullptr;
    ItDelete_t ItDelete = nullptr;
    RfcLastError_t RfcLastError = nullptr;
    RfcClose_t RfcClose = nullptr;
};

// The structures, installed once per process; 0 until then.
struct RfcTypeHandles {
    RFC_TYPEHANDLE CPU_ALL = 0;
    RFC_TYPEHANDLE RFCSI = 0;
    RFC_TYPEHANDLE DATE_TIME = 0;
    RFC_TYPEHANDLE CRIT_NR_S = 0;
    RFC_TYPEHANDLE CRIT_OBJ = 0;
    RFC_TYPEHANDLE TSPC_CHECK = 0;
};

// The logon options of the last opening and the texts they point into. The
// system number stays from one opening to the next: an opening without one
// uses the one before.
struct RfcLogonRecord {
    std::string Destination, Client, User, Password, Language, Mode, Hostname, Sysnr, Gwhost, Gwservice;
    std::string ConnectString;
    RFC_OPTIONS Options{};
    RFC_CONNOPT_R3 ServerOptions{};
    RFC_CONNOPT_CPIC CpicOptions{};
    RFC_ERROR_INFO_EX OpenErrorInfo{};
};

struct RfcLibraryContext : RfcOperations {
    RfcTypeHandles Types;
    RFC_ENV Environment{};
    // The run's ending for the fatal report: the error handler takes no argument.
    RfcFatalEnd FatalEnd = nullptr;
    RfcLogonRecord Logon;
};

// The library's context; its operations are called as Rfc.RfcOpen(...).
extern RfcLibraryContext Rfc;
