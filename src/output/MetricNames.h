// The names the metric-minded hosts (Checkmk, Prometheus) give the channels.
#pragma once

#include <string>

// "Critical_Spaces" -> "spacewarden_critical_spaces": snake case with the
// sensor's own prefix, so that no host's built-in metric is taken.
std::string MetricName(const std::string& channel);
