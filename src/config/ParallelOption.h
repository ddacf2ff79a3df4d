// The option PARALLEL=: how many listed systems a multi-system run checks at
// the same time, each in a worker process of its own.
#pragma once

#include <string>

// Real SAP systems answer in seconds: eight at a time bring a listing of 20
// systems well within PRTG's timeout of 60 s, at eight RFC connections at once.
constexpr unsigned DefaultParallelSystems = 8;
constexpr unsigned MostParallelSystems = 64;

// Sets the settings' ParallelSystems from the options. Returns an empty text,
// or "Error 1009: Invalid PARALLEL=" + the value as given + " !" for a value
// that is not a whole number from 1 to 64.
struct RunSettingsRecord;
std::string SelectParallelSystems(RunSettingsRecord& settings);
