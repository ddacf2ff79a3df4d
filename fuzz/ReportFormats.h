// What the hosts of the formats written from the whole report read: Checkmk's
// local-check lines, PRTG's Script v2 JSON object, Prometheus' text format.
// Each function returns an empty text when the host reads the output, else why not.
#pragma once

#include <string>

// Lines 'STATE "Service name" metrics details': STATE 0-3 or P, a name without
// '"', metrics "-" or name=value[;level]... joined by "|", no "|" in the details.
std::string CheckmkLinesProblem(const std::string& output);

// One JSON object (RFC 8259, valid UTF-8) with the integer version 2, a
// status of ok, warning or error, a message of at most 2,000 characters and
// at most 50 channels with unique ids from 10 to 2,147,483,647, names, a type and
// a number value; then one newline.
std::string ScriptV2Problem(const std::string& output);

// HELP and TYPE lines once per metric, before its samples; the samples of a
// metric together; names of the format's alphabet, label values with only
// \\, \" and \n escapes, numbers; valid UTF-8; a newline at the end.
std::string PrometheusProblem(const std::string& output);
