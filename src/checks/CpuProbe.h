// The CPU probe: GET_CPU_ALL, the first call on every new connection.
#pragma once

#include <cstdint>
#include <string>

#include "rfc/CallOutcome.h"
#include "rfc/RfcInterface.h"

constexpr unsigned CpuAllRowLength = 48;

// Buffers of the ten importing parameters, in the order they are received.
struct CpuAllImports {
    std::int32_t ACTIVEFLAG = 0;
    std::int32_t DETAILSCOLL = 0;
    std::int32_t DETAILSMODE = 0;
    std::int32_t DETAILSREQI = 0;
    char F_CPU_ALL_READ[3] = {};
    std::int32_t INTERVAL = 0;
    std::int32_t LASTCOLLINT = 0;
    char LASTCOLLWRT[25] = {};
    std::int32_t NORMCOLLINT = 0;
    char OP_SYSTEM[52] = {};
};

int CallCpuAll(RFC_HANDLE handle, char (&localRemote)[6], char (&logicalDestination)[32], CpuAllImports& imports,
               ITAB_H cpuTable, std::string& exceptionText);

// The call's outcome; its rows are fetched and not examined.
CallOutcome ProbeCpu(RFC_HANDLE handle);
