// Opening the RFC connection to the system of the current profile.
#pragma once

#include <string>

#include "rfc/RfcInterface.h"

constexpr const char* DestinationIniFile = "SapRfc.ini";

// Opens the connection with RfcOpen and the logon options, or with RfcOpenEx
// when a destination file "SapRfc." + Destination exists. Returns 0 when no
// connection was made; reports nothing itself.
RFC_HANDLE OpenConnection();

// The Sysnr text read as a decimal number: leading blanks skipped, digits up
// to the first other character, none give 0.
int SystemNumberOf(const std::string& sysnr);
