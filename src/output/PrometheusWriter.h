// Prometheus' text format, for node_exporter's textfile collector: HELP and
// TYPE once per metric, the samples of a metric together, no timestamps, a
// newline at the end.
#pragma once

#include <string>

#include "report/RunReport.h"

// spacewarden_up{system="..."} 1 for a measured system, 0 for a failed one
// (which has no value gauges; its error is a comment line); a gauge per
// channel (spacewarden_critical_spaces, ...: the five of a single-system run,
// the item of a multi-system run) with the system label;
// spacewarden_run_success (0 when an error ended the run) and
// spacewarden_run_duration_seconds.
std::string PrometheusText(const RunReport& report);

// A label value: '\', '"' and a line end escaped, the text made valid UTF-8.
std::string PrometheusLabelValue(const std::string& text);
