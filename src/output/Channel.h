// One measured value of the document, in the form of the host flavour.
#pragma once

#include <string>

// Room of a channel's name, value, unit and system label.
constexpr std::size_t ChannelTextRoom = 123;

// Counts the WriteChannel calls of the process; never reset.
extern unsigned ChannelCounter;

// Builds the "Pinewood" key: separators become "_", then the first full stop.
std::string MakeChannelKey(std::string key);

void WriteChannel(const std::string& name, const std::string& value, const std::string& unit);
