// The run's deadline: when it passes before the run's document is complete,
// the watchdog ends the run with Error 1019 in place of the document.
#pragma once

#include <string>

// "Error 1019: RFC-Timeout for PRD after 55 s !"
std::string DeadlineErrorText(const std::string& subject, unsigned seconds);

// Starts the watchdog for a deadline `seconds` after the start of the process;
// 0 means none. A process that runs the sensor more than once (a harness with
// a process-end hook) has none.
void ArmDeadline(unsigned seconds);

// What the error text names, when the deadline passes: the Destination of the
// system being processed, or the profile's name before any profile has been
// read.
void UpdateDeadlineNotice(const std::string& subject);
