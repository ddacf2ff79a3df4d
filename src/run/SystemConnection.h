// Opening a system's connection as every run does it.
#pragma once

#include "config/SystemProfile.h"
#include "rfc/RfcInterface.h"

// Opens the connection with the entries; a verbose run first says that the
// logon goes through the destination file. Returns 0 when no connection was made.
RFC_HANDLE OpenSystemConnection(const LogonEntriesRecord& entries, bool verbose);
