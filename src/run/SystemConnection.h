// Opening a system's connection as every run does it.
#pragma once

#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "rfc/RfcInterface.h"

// Opens the connection with the entries and the options' overrides; a verbose
// run first says that the logon goes through the destination file. Returns 0 when no connection was made.
RFC_HANDLE OpenSystemConnection(const LogonEntriesRecord& entries, const RunSettingsRecord& settings);
