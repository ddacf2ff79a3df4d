// The custom-sensor directory of the monitoring host ("...\ExeXml\").
#pragma once

#include <string>

#include "platform/Files.h"

constexpr const char* PathHintFile = "C:\\PRTG_Path.Txt";

// Finds the custom-sensor directory and opens RunSettings.ProfileName in it.
// Sets ProfileDirectory and ProfilePath. Returns an empty text, or the error
// text ("Error 1002", "Sorry, invalid Path-Usage...").
std::string DiscoverSensorDirectory(TextFile& profileFile);
