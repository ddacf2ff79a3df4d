// The run's settings: one value that start-up reads from the command line, the
// profile's place, the listing and the thresholds, then hands on unchanged.
#pragma once

#include <string>

#include "config/Credentials.h"
#include "config/CriticalNamesOptions.h"
#include "config/HostFormat.h"
#include "config/Thresholds.h"

constexpr const char* ProgramName = "SpaceWarden";
constexpr const char* VersionText = "Vers 4.3 / 29.08.22";
// Room of an item identification.
constexpr std::size_t ItemRoom = 90;

struct RunSettingsRecord {
    std::string ProfileName;
    std::string ProfileDirectory;
    std::string ProfilePath;
    std::string ParameterText;         // options, upper-cased
    std::string ParameterTextAsGiven;  // options as typed
    std::string ItemIdentification;
    bool GlobalMode = false;
    bool VerboseMode = false;
    HostFormat HostFlavour{};  // the table's first: PRTG's EXE/XML sensor
    unsigned DeadlineSeconds = 55;  // TIMEOUT=; 0: no deadline
    unsigned ParallelSystems = 8;   // PARALLEL=: listed systems checked at the same time
    CredentialSource Credentials = CredentialSource::Profile;  // CREDENTIALS=
    // The monitoring plugin's options are whole words: a keyword counts only at
    // the start of the text or after a blank or comma ("NOCRIT=" is no "CRIT=").
    bool WholeWordOptions = false;
    // --textfile: the Prometheus text goes to this file (replaced as a whole), not to standard output.
    std::string TextfilePath;
    std::string TraceLine;
    std::string ProgramPath;  // argument 0, the detail of "program started"
    std::string Argument2;    // argument 2 as typed, named by "Error 1030"
    // The multi-system run's listing: profile names, each followed by "#",
    // and how a system's channel is labelled: "1" profile name, "2" alias,
    // "3" host name, "4" destination.
    std::string ServerListing;
    char LabelKind = '1';
    // WARN=, CRIT=, CH= and STATE= of the hosts whose state the sensor judges.
    ThresholdsRecord Thresholds;
    // EXCLUDE= and NAMES=: the critical rows named and those left out.
    CriticalNamesOptions Names;

    // True when the upper-cased options hold the keyword anywhere (with
    // WholeWordOptions: as the start of a word, a keyword's leading comma
    // counting as the word's boundary).
    bool Has(const std::string& keyword) const;
    // The value of a keyword, copied from ParameterTextAsGiven at the keyword's
    // position: the characters after it, up to (not including) the first of
    // `stopCharacters`, at most maxLength. Empty when the keyword is absent.
    std::string ValueAt(const std::string& keyword, std::size_t maxLength, const std::string& stopCharacters) const;
    // The traits of the run's host format.
    const HostFormatTraits& Host() const { return TraitsOf(HostFlavour); }
};

// Upper-cases the letters a to z; every other byte stays.
std::string UpperAscii(std::string text);
