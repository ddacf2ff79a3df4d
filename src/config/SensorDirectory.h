// The custom-sensor directory of the monitoring host ("...\ExeXml\").
#pragma once

#include <string>

#include "platform/Files.h"

constexpr const char* PathHintFile = "C:\\PRTG_Path.Txt";

// Finds the custom-sensor directory and opens the settings' ProfileName in it.
// Sets ProfileDirectory and ProfilePath. Returns an empty text, or the error
// text ("Error 1002", "Sorry, invalid Path-Usage...").
// On a fault no profile is left open.
struct RunSettingsRecord;
std::string DiscoverSensorDirectory(RunSettingsRecord& settings, TextFile& profileFile);

// True when the six characters before the directory's last one (its closing
// backslash) read "ExeXml" in any case: the host's directory for EXE/XML sensors.
bool IsSensorDirectory(const std::string& directory);
