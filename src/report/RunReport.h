// What a run found out, as plain values: each system's measured channels or
// why it failed, the counts of a multi-system run, and the error that ended a
// run. The checks fill in the values, the run the rest; a writer per host
// format (output/ReportWriters.h) turns a report into the host's bytes.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "report/CriticalRows.h"

// The channels of the critical objects check, in the order of the documents.
constexpr std::size_t ChannelCount = 5;
constexpr std::array<const char*, ChannelCount> ChannelNames = {
    "Critical_Spaces", "Critical_Objects", "Critical_TableSpc", "Critical_Tables", "Critical_Indexes"};

// Rows counted (spaces, objects) and the counts SAP returned (NR_TS,
// NR_TABLES, NR_INDEXES), each in the place of its name in ChannelNames.
using ChannelValues = std::array<long long, ChannelCount>;

// The place of a channel's name (as written, letter case counting); ChannelCount when none is so named.
std::size_t ChannelIndex(const std::string& name);

struct SystemResult {
    std::string Name;      // the profile's file name ("PRD.P00"); a single-system run: the profile's
    std::string Label;     // the name the host shows for the system ("PRD", by the listing's label kind)
    std::string Destination;  // the profile's Destination entry, when it was read
    bool Measured = false;
    ChannelValues Values{};
    std::string Failure;   // why it was not measured: "Error 1011: RFC-Open for PRD failed !"
    CriticalNames Names;   // measured: the critical tablespaces and objects it names
};

struct RunReport {
    bool MultiSystem = false;
    // What the run is about, for a host that names it: the system of a
    // single-system run ("PRD"), "listing <item>" for a multi-system run.
    std::string Subject;
    std::string Item;  // the channel a multi-system run reports per system (ITEM=, the listing's)
    std::vector<SystemResult> Systems;  // in listing order
    unsigned NoSystems = 0, Processed = 0, Failed = 0;  // the summary counts
    std::string RunError;  // the error that ended the run; empty when it came to its end
    double DurationSeconds = 0;
};

// The names under which the hosts that tell systems apart by name (Checkmk's
// services, Prometheus' series) show the systems, in the order of Systems, in
// the host's own form (`shown`, which may make two labels one): each label, or
// the profile's name for an empty one; a name already taken (by the run's
// subject or an earlier system) gets the profile's name in parentheses, then
// " #2", " #3", ... as needed.
std::vector<std::string> DistinctSystemNames(const RunReport& report, std::string (*shown)(const std::string&));

// The value of a listed system's channel, the listing's item: null when the
// system was not measured or the item names none of the five channels.
const long long* ItemValue(const RunReport& report, const SystemResult& system);

// Why a single-system run has no values to write: the error that ended it,
// else its system's failure; empty when its system was measured.
std::string SingleSystemFailure(const RunReport& report);

// The profile name without its extension, as hosts name the system of a
// single-system run: "PRD.P00" -> "PRD" ("PRD" stays).
std::string SystemNameWithoutExtension(const std::string& profileName);
