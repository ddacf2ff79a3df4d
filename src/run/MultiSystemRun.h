#pragma once

#include <string>

// Visits every system of the server listing, streams one channel per system
// and the summary, then ends the process.
[[noreturn]] void MultiSystemRun();

// The label of a system's channel by the label kind.
std::string LabelFor(char labelKind, const std::string& systemName);
