#pragma once

#include <string>

#include "config/RunSettings.h"
#include "platform/Files.h"
#include "report/RunReport.h"

// The run of the one SAP system the open profile names; `report` is the run's,
// begun by start-up. A profile that cannot be read to its end ends the run
// with `profileMissing`. Ends the process on every path.
[[noreturn]] void SingleSystemRun(const RunSettingsRecord& settings, TextFile& profile,
                                  const std::string& profileMissing, RunReport report);

// The options as the executing line shows them.
std::string OptionsDisplayForm(const std::string& options);
