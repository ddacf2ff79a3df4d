// The steps that accept an SAP system before anything is measured on it.
#pragma once

#include "rfc/RfcInterface.h"

// The CPU probe and the system information probe must succeed and the
// database must be Oracle. A failed probe leaves its outcome text for the
// caller to gather; the caller decides what that ends. The host the system
// information probe reports becomes the displayed host name of the logon
// entries (a listed profile without a Hostname line shows it).
enum class SystemAcceptance { Accepted, ProbeFailed, NotOracle };
SystemAcceptance AcceptSystem(RFC_HANDLE handle);

// The PRTG flavours: a system that is not accepted ends the run with the error
// document (after whatever has already been written).
void EndUnlessSystemAccepted(RFC_HANDLE handle);
