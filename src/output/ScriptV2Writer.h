// PRTG's Script v2 sensor (the only script sensor of PRTG's Multi-Platform
// Probe): one JSON object,
//   {"version": 2, "status": "ok", "message": "...", "channels": [{"id": 10,
//    "name": "Critical_Spaces", "type": "integer", "value": 3}, ...]}
// and exit code 0 whenever it was written, or PRTG does not read it.
#pragma once

#include <string>

#include "config/Thresholds.h"
#include "report/RunReport.h"

// PRTG's limits of a Script v2 document.
constexpr std::size_t ScriptV2MessageRoom = 2000;  // characters
constexpr std::size_t ScriptV2ChannelRoom = 50;
// The first id PRTG takes; a system's channel id lies from SystemChannelIdBase on.
constexpr long long FirstChannelId = 10;
constexpr long long SystemChannelIdBase = 1000;

// A single-system run: the five channels with ids 10 to 14 and the text line
// of the XML document as the message. A multi-system run: a channel per
// measured system, named by its label, with an id from the label alone (so
// that PRTG keeps a system's history when the listing changes its order); the
// summary and each failed system in the message. Systems beyond the 50th
// channel are named in the message, and the status is then at least
// "warning". Status: "error" for an error that ended the run (no channels) or a
// value outside CRIT=, "warning" outside WARN= or for a failed system.
std::string ScriptV2Document(const RunReport& report, const ThresholdsRecord& thresholds);

// The id of a system's channel: from its label, 1000 to 2,147,483,647.
long long SystemChannelId(const std::string& label);

// A JSON string with its quotes (RFC 8259): '"', '\' and control characters
// escaped, the text made valid UTF-8 first.
std::string JsonString(const std::string& text);
