// Start-up: the command line into RunSettings, the profile located and opened.
#pragma once

#include "platform/Files.h"

// The open system profile, handed from start-up to the single-system run.
extern TextFile ProfileFile;

// Runs start-up and then the run the command line selects. Returns the exit
// code of the quiet success path; every other path ends the process itself.
int RunSensor(int argc, char** argv);
