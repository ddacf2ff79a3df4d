// Opening the RFC connection to the system of the current profile.
#pragma once

#include <string>

#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "rfc/RfcInterface.h"

constexpr const char* DestinationIniFile = "SapRfc.ini";

// Whether the system logs on through its destination file "SapRfc." + Destination.
bool UsesDestinationFile(const LogonEntriesRecord& entries);

// Opens the connection with RfcOpen and the logon options, or with RfcOpenEx
// when a destination file "SapRfc." + Destination exists (copied to
// SapRfc.ini first). The options ",HOST=" and ",NO=" override the entries' host
// and system number. Returns 0 when no connection was made; reports nothing itself.
RFC_HANDLE OpenConnection(const LogonEntriesRecord& entries, const RunSettingsRecord& settings);

// The Sysnr text read as a decimal number: leading blanks skipped, digits up
// to the first other character, none give 0.
int SystemNumberOf(const std::string& sysnr);

// An opening without a system number uses the one of the opening before
// (R/3 mode). The system number the opening with these entries leaves, given
// the one before it; a run that checks its systems in workers carries it from
// one to the next in listing order.
int SystemNumberAfterOpening(const LogonEntriesRecord& entries, const RunSettingsRecord& settings, int before);
// A worker's: the system number the opening before it left.
void TakeCarriedSystemNumber(int number);
int CarriedSystemNumber();
