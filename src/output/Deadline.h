// The run's deadline: when it passes before the run's document is complete,
// the watchdog ends the run with Error 1019 in place of the document.
#pragma once

#include <string>
#include <vector>

#include "output/RunContext.h"

// "Error 1019: RFC-Timeout for PRD after 55 s !"
std::string DeadlineErrorText(const std::string& subject, unsigned seconds);

// Starts the watchdog for a deadline `seconds` after the start of the process;
// 0 means none. A process that runs the sensor more than once (a harness with
// a process-end hook) has none.
void ArmDeadline(unsigned seconds);

// A listing checking its one system in the run's own process: from
// `shareMilliseconds` after the start of the process on, the system that has
// not answered fails with Error 1019 and the run ends with `rest` (that system
// failed and every system after it) as its last systems, as if the system had
// failed alone. No effect without a deadline.
void ArmShareEnding(unsigned long long shareMilliseconds, std::vector<ListedSystemEnding> rest);
// The system answered in time: the deadline is the run's again.
void DisarmShareEnding();

// What the error text names, when the deadline passes: the Destination of the
// system being processed, or the profile's name before any profile has been
// read.
void UpdateDeadlineNotice(const std::string& subject);
