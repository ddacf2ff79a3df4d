// A multi-system run that checks its listed systems side by side, each in a
// worker process (run/Worker.h), at most PARALLEL= at a time.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/SystemProfile.h"
#include "report/RunReport.h"
#include "run/WorkerMessages.h"

// A listed system as its profile was read, in listing order, before any
// system is checked: the entries a profile without a line takes from the one
// before, and the system number an opening without one takes, are resolved
// here, as the systems would meet them one after the other.
struct ListedSystem {
    std::string Name;
    std::string Label;
    bool Unread = false;  // the profile could not be opened or read: counted among the systems only
    bool Faulty = false;  // a faulty profile is never used to log on
    std::string Failure;
    LogonEntriesRecord Entries;
    bool HostShownByProfile = false;  // its Hostname line set the displayed host name
    int CarriedSystemNumber = 0;
    bool UsesDestinationFile = false;  // its logon copies SapRfc.<DEST> to SapRfc.ini
    bool NeedsCheck() const { return !Unread && !Faulty; }
};

// Hands each listed system, with its worker's answer (none for a system
// that needs no check), in listing order, as soon as it and every system
// before it are done; `endWorkers` ends every worker still running, for an
// answer that ends the run.
using ListedSystemDone =
    std::function<void(const ListedSystem&, const WorkerAnswer*, const std::function<void()>& endWorkers)>;

// Checks the systems that need it in a pool of at most `parallel` workers (and
// no more than there are systems to check),
// each taking one system after the other in listing order, and hands every
// system to `done` in listing order. A worker that dies or answers nothing fails its
// system ("Error 1021"); a system still unanswered when its share of the run's
// deadline is over (`shareMilliseconds` after the start of the process; 0:
// none) is ended and fails with "Error 1019". `task` is the task every worker
// gets besides its system's entries.
void CheckSideBySide(const std::vector<ListedSystem>& systems, const WorkerTask& task, unsigned parallel,
                     unsigned long long shareMilliseconds, const ListedSystemDone& done);
