// The system information probe: RFC_SYSTEM_INFO, which names the database.
#pragma once

#include <cstdint>
#include <string>

#include "rfc/CallOutcome.h"
#include "rfc/RfcInterface.h"

constexpr unsigned RfcsiLength = 200;
// Offsets and lengths in RFCSI of the two fields the run keeps.
constexpr unsigned RFCHOST_Offset = 45, RFCHOST_Length = 8;
constexpr unsigned RFCDBSYS_Offset = 101, RFCDBSYS_Length = 10;

struct SystemInfoImports {
    std::int32_t CURRENT_RESOURCES = 0;
    char DIALOG_USER_TYPE[1] = {};
    std::int32_t MAXIMAL_RESOURCES = 0;
    std::int32_t RECOMMENDED_DELAY = 0;
    char RFCSI_EXPORT[RfcsiLength] = {};
    char RFC_LOGIN_COMPLETE[1] = {};
};

int CallSystemInfo(RFC_HANDLE handle, SystemInfoImports& imports, std::string& exceptionText);

// What the probe reports: the call's return code and, when it succeeded, the
// database system (RFCDBSYS) and the application server's host (RFCHOST). A
// failed call leaves its outcome text for the run to gather (rfc/RfcErrors.h).
struct SystemInfo {
    CallOutcome Outcome{RFC_FAILURE, ""};
    std::string DatabaseSystem;
    std::string Host;
};
SystemInfo ProbeSystemInfo(RFC_HANDLE handle);

// True when the database system name begins with "ORA" (case-sensitive).
bool DatabaseIsOracle(const std::string& databaseSystem);
