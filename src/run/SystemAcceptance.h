// The steps that accept an SAP system before anything is measured on it.
#pragma once

#include "rfc/RfcInterface.h"

// The CPU probe and the system information probe must succeed and the
// database must be Oracle; otherwise the run ends with the error document
// (after whatever has already been written).
void EndUnlessSystemAccepted(RFC_HANDLE handle);
