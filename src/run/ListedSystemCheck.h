// The check of one listed system, in a worker or in the run's own process:
// logon, probes, database, critical objects, as the run checks a listed system.
#pragma once

#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "run/WorkerMessages.h"

// Checks the system the entries name and says how it went in `answer` (its
// outcome, values, why it failed, the host the probe named). With `goesOn` a
// failed probe or another database fails the system only; otherwise they are
// the answers that end a PRTG run. The library must be loaded; what ends the
// run (the fatal report, a library that cannot work) ends the process here.
void CheckListedSystem(const RunSettingsRecord& settings, bool goesOn, LogonEntriesRecord entries,
                       WorkerAnswer& answer);
