// The global listing and the item profile of a multi-system run.
#pragma once

#include <string>

#include "platform/Files.h"

// Profile names, each followed by "#".
extern std::string ServerListing;
// "1" profile name, "2" alias, "3" host name, "4" destination.
extern char LabelKind;

// Closes the profile file that located the listing, reads the global listing
// (listing mode) or the item profile (item mode) at RunSettings.ProfilePath and
// sets ServerListing, ItemIdentification, LabelKind and, in listing mode,
// ParameterTextAsGiven; ProfilePath becomes ProfileDirectory. Returns an empty
// text, or the error text ("Error 1024" to "Error 1030", "Error 10x1").
std::string ReadGlobalListing(TextFile& profileFile);
