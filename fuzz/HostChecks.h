// What each host reads, by the run's format: the fuzzing harnesses check every
// output against the reader of its format's host.
#pragma once

#include <string>

#include "config/HostFormat.h"

// A problem with the output as the format's host reads it; empty when it reads
// it. `exitCode` is the one the host got with it. PRTG's text flavours have no
// reader of their own here: their outputs pass.
std::string HostReadingProblem(HostFormat format, const std::string& output, int exitCode);
