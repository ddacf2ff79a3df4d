// Checkmk's local check: one line per service,
//   <state> "<service name>" <metrics> <details>
// state 0-3 (or P: Checkmk judges the metrics by their levels), metrics
// name=value;warn;crit joined by "|" ("-" for none), and no line end in a text.
#pragma once

#include <string>

#include "config/Thresholds.h"
#include "report/RunReport.h"

// A single-system run is one service, "SpaceWarden <system>", with the five
// channels as metrics. A multi-system run is a service per listed system
// (named by its label, the item as its metric; a failed system CRITICAL with
// why) and the summary service "SpaceWarden listing <item>" with the counts.
// An error that ended the run is a service of its own (the summary's, or the
// system's): CRITICAL for a failure of reaching or asking the system,
// UNKNOWN for any other.
std::string CheckmkLocalCheck(const RunReport& report, const ThresholdsRecord& thresholds);
