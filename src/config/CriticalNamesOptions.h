// Which critical tablespaces and objects a run names, and which it leaves
// out: EXCLUDE= (the plugin's --exclude) and NAMES= (--names).
//
//   EXCLUDE=PSAPTEMP+PSAPUNDO   tablespaces left out, "*" matching any characters, letter case ignored
//   NAMES=50                    at most 50 names per kind and system; PRTG's text line names them too
#pragma once

#include <string>
#include <vector>

// Names per kind (tablespaces, objects) and system when NAMES= does not say.
constexpr unsigned DefaultNamesLimit = 20;
constexpr unsigned MostNamesLimit = 1000;
// Room of EXCLUDE='s value and of one of its patterns (a tablespace name has 30 characters).
constexpr std::size_t ExcludeRoom = 255;
constexpr std::size_t ExcludePatternRoom = 30;

struct CriticalNamesOptions {
    std::vector<std::string> Excluded;  // the patterns, upper-cased
    unsigned Limit = DefaultNamesLimit;
    bool InPrtgText = false;  // NAMES= given: PRTG's text line names them as well
};

// Whether a tablespace's name matches one of the patterns: "*" stands for any
// characters, none included; letters match in either case.
bool TablespaceExcluded(const std::vector<std::string>& patterns, const std::string& name);

// The patterns as EXCLUDE= takes them: joined by "+".
std::string ExcludeText(const std::vector<std::string>& patterns);

// Reads EXCLUDE= and NAMES= from the run's options into settings.Names.
// Returns an empty text, or "Error 1009: Invalid EXCLUDE=<value> !" (an empty
// pattern, one longer than a name, or more than the room) or
// "Error 1009: Invalid NAMES=<value> !" (not 1 to 1000).
struct RunSettingsRecord;
std::string SelectCriticalNames(RunSettingsRecord& settings);
