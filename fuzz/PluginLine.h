// What a host of monitoring plugins reads of the flavour "Nagios": a status
// line, "SPACEWARDEN STATE - text" and, after " | ", performance data entries
// of the guidelines' form, with the exit code of its state; long text may
// follow it (a usage line, -v's progress lines), without a "|".
#pragma once

#include <string>

// Empty when the output begins with such a status line whose state goes with
// the exit code, else why it does not.
std::string PluginLineProblem(const std::string& output, int exitCode);
