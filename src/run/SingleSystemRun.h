#pragma once

#include <string>

// The run of the one SAP system the profile names. Ends the process itself on
// every path but the quiet success, whose exit code it returns.
int SingleSystemRun();

// The options as the executing line shows them.
std::string OptionsDisplayForm(const std::string& options);
