// What a host of monitoring plugins reads of the flavour "Nagios": one line,
// "SPACEWARDEN STATE - text" and, after " | ", performance data entries of the
// guidelines' form, with the exit code of its state.
#pragma once

#include <string>

// Empty when the output is one such status line whose state goes with the
// exit code, else why it is not.
std::string PluginLineProblem(const std::string& output, int exitCode);
