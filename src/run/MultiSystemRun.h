#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "report/RunReport.h"

// Visits every system of the server listing, in listing order, and reports
// each into `report` (begun by start-up): PRTG's flavours and the plugin take
// a system's channel as soon as it is measured and end with the summary; the
// formats written from the whole report get it at the end. Ends the process.
[[noreturn]] void MultiSystemRun(RunReport report);

// The label of a system's channel by the label kind.
std::string LabelFor(char labelKind, const std::string& systemName);

// The name at `position` of a server listing, up to its "#"; moves the
// position past that "#". The listing is read where it lies, never copied or
// shortened, so a listing of many systems costs the same for each of them.
std::string_view TakeNextSystemName(std::string_view listing, std::size_t& position);
