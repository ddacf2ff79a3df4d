// The monitoring-plugins thresholds of the flavour "Nagios": WARN= and CRIT=
// with a range each, and the channel that CH= selects for judging.
#pragma once

#include <string>

// A range of the monitoring-plugins development guidelines, endpoints
// included: "10" is 0 to 10, "10:" 10 and up, "~:10" up to 10, "10:20".
// A value outside it alerts. "@" (alert inside) is not offered: "@" is an
// option of its own.
struct ThresholdRange {
    bool Given = false;
    std::string Text;  // as given, for the performance data
    bool FromMinusInfinity = false;
    bool ToInfinity = false;
    double Start = 0;
    double End = 0;
    std::string StartText = "0";  // the endpoints as given, for the status text
    std::string EndText;
};

// Reads a range; false when the text is none (also for one with "@", or
// whose start exceeds its end, as "10:5" and "-5", which is 0 to -5).
bool ParseRange(const std::string& text, ThresholdRange& range);

// Whether a value alerts against the range: below its start or above its end.
bool OutsideRange(const ThresholdRange& range, double value);

// What put a value outside a range: "Critical_Indexes=1229 above 1000", "PRD=3 below 5".
std::string RangeBreach(const ThresholdRange& range, const std::string& label, const std::string& value);

// The range as a level that alerts at a value at or above it, as Checkmk's
// levels do, for whole-number values: "10" and "~:10" alert from 11. False
// for a range that also alerts below a start above 0, or has no end.
bool LevelFromAbove(const ThresholdRange& range, long long& level);

struct ThresholdsRecord {
    ThresholdRange Warning;
    ThresholdRange Critical;
    long SelectedChannel = 0;  // CH=n, 0: every channel
    std::string SelectedChannelText;  // the value of CH= as given
    bool HostJudges = false;  // Checkmk's STATE=P: Checkmk judges the metrics by their levels
};

// 0 OK, 1 WARNING, 2 CRITICAL: a value outside the critical range is
// critical, else outside the warning range a warning.
int JudgedLevel(const ThresholdsRecord& thresholds, double value);
// The same for the channel numbered `number` (from 1, across a listing's
// systems): 0 when CH= selects another.
int JudgedChannelLevel(const ThresholdsRecord& thresholds, long number, double value);

// Reads WARN=, CRIT= and CH= from the options for the flavour "Nagios", from
// the command line also in listing mode (the host's service definition gives
// them, not the listing's sensor entry). A
// single-system run has five channels, so CH= selects 1 to 5 there; a
// multi-system run one of its systems' channels, from 1. Returns an empty
// text, or "Error 1009: Invalid " + keyword + the value as given + " !".
// For Checkmk (`checkmk`) also STATE=P, which leaves the state to Checkmk: its
// ranges must then be levels (LevelFromAbove).
struct RunSettingsRecord;
std::string SelectThresholds(RunSettingsRecord& settings, bool multiSystemRun, bool checkmk = false);
