// Start-up: the command line into RunSettings, the profile located and opened.
#pragma once

#include <string>

#include "platform/Files.h"

// The open system profile, handed from start-up to the single-system run.
extern TextFile ProfileFile;
// The text start-up gives when it cannot open that profile ("Error 1002"),
// also the end of a run that cannot read it to its end.
extern std::string ProfileMissing;

// Runs start-up and then the run the command line selects. Returns the exit
// code of the quiet success path; every other path ends the process itself.
int RunSensor(int argc, char** argv);
