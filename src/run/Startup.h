// Start-up: the command line, the profile's place, the listing and the
// thresholds read into the run's settings, then the run they select.
#pragma once

#include "config/RunSettings.h"

// Runs start-up, which reads the command line into `settings`, and then the
// run the command line selects; every path ends the process. The settings
// belong to the caller, so that they outlive the run's end (a harness that
// runs the sensor in its own process reads them afterwards).
[[noreturn]] void RunSensor(int argc, char** argv, RunSettingsRecord& settings);
