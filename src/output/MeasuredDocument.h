// The documents of the streamed forms (PRTG's XML and text, the monitoring
// plugin's status line) from measured values.
#pragma once

#include <string>

#include "report/RunReport.h"

// The single-system run's document: the text line
// "(<Destination>) Oracle: Critical_Spaces=<n>, Critical_Objects=<n>" and the
// five channels, left in the result document.
void BuildSingleSystemDocument(const std::string& destination, const ChannelValues& values);

// A multi-system run's channel of one system: the value of the item, named by
// the system's label, written to standard output at once. No channel when the
// item names none of the five.
void WriteSystemChannel(const std::string& label, const ChannelValues& values, const std::string& item);
