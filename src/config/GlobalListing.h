// The global listing and the item profile of a multi-system run.
#pragma once

#include <string>

#include "platform/Files.h"

struct RunSettingsRecord;

// Closes the profile file that located the listing, reads the global listing
// (listing mode) or the item profile (item mode) at the settings' ProfilePath
// and sets their ServerListing (profile names, each followed by "#"),
// ItemIdentification, LabelKind and, in listing mode, ParameterTextAsGiven;
// ProfilePath becomes ProfileDirectory. Returns an empty text, or the error
// text ("Error 1024" to "Error 1030", "Error 10x1").
std::string ReadGlobalListing(RunSettingsRecord& settings, TextFile& profileFile);
