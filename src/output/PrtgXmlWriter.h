// PRTG's XML document (the flavours "EXEXML", "Kestrel", "Bramble"):
//   <Prtg> <Text>...</Text> <Result><Channel>name</Channel> <Value>n</Value></Result> ... </Prtg>
// A listing streams it: the opening first, each system's channel as soon as
// the system is measured, the summary's text and the closing at the end.
#pragma once

#include <string>

// One channel of the document, counted by the writer: name, value and unit
// (a custom unit when one is given), each cut to ChannelTextRoom.
std::string PrtgXmlChannel(const std::string& name, const std::string& value, const std::string& unit);
