// The option TIMEOUT=: the seconds after the start of the process within
// which the run must have written its document.
#pragma once

#include <string>

// Without the option: below PRTG's default sensor timeout of 60 s, so that the
// sensor answers before PRTG gives up on it and keeps nothing of what it wrote.
constexpr unsigned DefaultDeadlineSeconds = 55;
constexpr unsigned LongestDeadlineSeconds = 3600;

// Sets the settings' DeadlineSeconds from the options (0: no deadline). Returns
// an empty text, or "Error 1009: Invalid TIMEOUT=" + the value as given + " !"
// for a value that is not a number of seconds from 0 to 3600.
struct RunSettingsRecord;
std::string SelectDeadline(RunSettingsRecord& settings);
