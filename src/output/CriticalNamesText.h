// The critical tablespaces and objects of a system as the hosts' texts name
// them: a short note for a text line (PRTG, Script v2) and a line per row with
// SAP's figures (the plugin's and Checkmk's long output). Each host escapes
// the result in its own way; what is built here never exceeds the room given.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "report/CriticalRows.h"

// How long a text is in the host's document (escaped, or in characters).
using TextMeasure = std::size_t (*)(const std::string&);
std::size_t ByteLength(const std::string& text);

// A name as every host shows it: control characters (DEL too) as blanks, so
// that no name can end a line or a record; a blank name as "(blank)".
std::string ShownName(const std::string& name);

// "TS: PSAPTEMP, PSAPUNDO and 3 more; ON (TN, TS): BIG~0 (BIG, PSAPSR3); 2 rows left out (EXCLUDE=)",
// at most `room` as `measure` counts; without `withNames` only what EXCLUDE=
// left out. The names that do not fit are counted in "and N more". Empty when
// there is nothing to say.
std::string NamesNote(const CriticalNames& names, bool withNames, std::size_t room, TextMeasure measure);

// A line per named row, "TS=PSAPTEMP MAXBLKFREE=12 ANZBLKFREE=3 ..." and
// "ON=BIG~0 TN=BIG TS=PSAPSR3 MAXBLKFREE=...", then what is not named: "and 3
// more critical tablespaces", "and 2 more critical objects", "2 rows left out
// (EXCLUDE=)". Together at most `room` as `measure` counts, each line with
// `separator` more; rows that do not fit are counted in the "more" lines.
std::vector<std::string> RowLines(const CriticalNames& names, std::size_t room, std::size_t separator,
                                  TextMeasure measure);
