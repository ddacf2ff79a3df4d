#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "report/RunReport.h"

// Visits every system of the server listing, in listing order, and reports
// each into `report` (begun by start-up): the writer streams a system's
// channel as soon as it is measured, if its format streams, and ends with the
// summary or the whole document. Ends the process.
[[noreturn]] void MultiSystemRun(const RunSettingsRecord& settings, RunReport report);

// The label of a system's channel by the label kind ("1" profile name, "2"
// alias, "3" host name, "4" destination, from the system's entries); never
// empty: the profile's name when the kind gives nothing.
std::string LabelFor(char labelKind, const std::string& systemName, const LogonEntriesRecord& entries);

// The name at `position` of a server listing, up to its "#"; moves the
// position past that "#". The listing is read where it lies, never copied or
// shortened, so a listing of many systems costs the same for each of them.
std::string_view TakeNextSystemName(std::string_view listing, std::size_t& position);
