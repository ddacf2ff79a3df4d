// The monitoring plugin's status line (the flavour "Nagios"), as the
// monitoring-plugins development guidelines define it, for Nagios, Icinga,
// Naemon and the other hosts of monitoring plugins:
//   "SPACEWARDEN " + state + " - " + text + " | " + performance data + "\n"
// with the exit code of the state; a listing's systems each on a line after it.
#pragma once

#include <string>
#include <string_view>

#include "config/Thresholds.h"

enum class PluginState { Ok = 0, Warning = 1, Critical = 2, Unknown = 3 };

// The status line of an error, without performance data: CRITICAL for the
// errors of reaching and asking the SAP system (1011 to 1015, 1018, 1019),
// UNKNOWN for every other. The text is cut to 127 characters first.
std::string PluginErrorLine(std::string_view errorText);
PluginState PluginErrorState(std::string_view errorText);

// A channel's label in the performance data: in single quotes unless it holds
// letters, digits, "_", "." and "-" only; "'" and "=" become "_", "|" "/",
// a control character (a line end among them) a blank.
std::string PerformanceLabel(const std::string& label);
