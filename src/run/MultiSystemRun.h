#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Visits every system of the server listing, streams one channel per system
// and the summary, then ends the process.
[[noreturn]] void MultiSystemRun();

// The label of a system's channel by the label kind.
std::string LabelFor(char labelKind, const std::string& systemName);

// The name at `position` of a server listing, up to its "#"; moves the
// position past that "#". The listing is read where it lies, never copied or
// shortened, so a listing of many systems costs the same for each of them.
std::string_view TakeNextSystemName(std::string_view listing, std::size_t& position);
