#pragma once

#include <string>

#include "report/RunReport.h"

// The run of the one SAP system the profile names. Ends the process itself on
// every path but the quiet success, whose exit code it returns.
// `report` is the run's, begun by start-up.
int SingleSystemRun(RunReport report);

// The options as the executing line shows them.
std::string OptionsDisplayForm(const std::string& options);
