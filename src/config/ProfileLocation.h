// Where the profile of a run lies, and the host flavour.
#pragma once

#include <string>

#include "platform/Files.h"

constexpr const char* GlobalListingName = "SAP Overseer.Gbl";
constexpr const char* ItemProfileName = "Overseer.Prf";

struct RunSettingsRecord;

// Default extension and the word GLOBAL: works on the settings' ProfileName and GlobalMode.
void ResolveProfileName(RunSettingsRecord& settings);

// The name with ".P00" appended unless it has an extension of its own (a full
// stop fourth from its end), as the sensor looks for a profile.
std::string WithDefaultExtension(const std::string& name);

// Whether a profile name (a folder before it left aside) is the word GLOBAL,
// with or without ".P00", in any letter case: the global listing.
bool NamesGlobalListing(const std::string& name);

// How the messages of a file that could not be opened say so: "is missing",
// or why a file that is there cannot be read ("cannot be read: Permission
// denied", "is a directory").
std::string NotOpenedWording(const std::string& whyNotOpened);

// Splits the settings' ProfileName into ProfileDirectory and ProfileName at its
// last backslash (in the formats whose hosts name machine paths, for a name
// that begins with "/", at its last "/"), then tests for GLOBAL once more.
void SplitProfileDirectory(RunSettingsRecord& settings);

// Fixes the settings' HostFlavour from the option "FLAVOUR=", or the default of
// the program's name. Returns an empty text, or "Error 1008" for an unknown flavour.
std::string SelectHostFlavour(RunSettingsRecord& settings);

// "Error 1002" for a profile that cannot be opened, naming it as shown: "is
// missing...", or why a profile that is there cannot be read ("cannot be
// read: Permission denied...", "is a directory...").
std::string ProfileMissingText(const std::string& shownName, const std::string& whyNotOpened = "");

// Flavours other than "EXEXML": opens the profile where the command line names
// it. Returns an empty text, or "Error 1002" naming ProfilePath.
std::string OpenProfileAtNamedPlace(RunSettingsRecord& settings, TextFile& profileFile);
