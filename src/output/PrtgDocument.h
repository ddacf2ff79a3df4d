// What PRTG's documents share, its XML flavours and its text flavours: the
// document's room, XML escaping, the error document, the text line of a
// measured system and the channel names.
#pragma once

#include <string>
#include <string_view>

#include "report/RunReport.h"

// Room of the document: 4096 bytes with the terminator. Appends beyond it are cut.
constexpr std::size_t ResultDocumentRoom = 4095;
// Room of a channel's name, value, unit and system label.
constexpr std::size_t ChannelTextRoom = 123;

// "&", "<" and ">" as the entities an XML parser reads back as these
// characters; a control character other than tab, CR and LF, which no XML
// reader takes, as a blank.
std::string EscapeMarkup(std::string_view text);

// A document being built within ResultDocumentRoom.
class DocumentBuffer {
public:
    explicit DocumentBuffer(bool xml) : xml_(xml) {}
    void Clear() { text_.clear(); }
    // Appends markup or plain text as it is, cut at the room.
    void Append(std::string_view text);
    // Appends a text that goes inside the markup (the text line, a channel's
    // name, value or unit): escaped in XML, where a raw "&" or "<" would make
    // the host's parser refuse the whole document. Near the room an entity is
    // appended whole or not at all.
    void AppendText(std::string_view text);
    const std::string& Text() const { return text_; }

private:
    bool xml_;
    std::string text_;
};

// The error document, XML in every PRTG flavour: "<Prtg>", "<Error>1</Error>",
// the text (cut to 127 characters, then escaped), "</Prtg>". Once a streamed
// run has written the opening "<Prtg>" of its document, the error document
// leaves out its own, so that it closes the document already written.
std::string PrtgErrorDocument(std::string_view errorText, bool openingWritten);

// The text line of a measured system:
// "(<Destination>) Oracle: Critical_Spaces=<n>, Critical_Objects=<n>", the
// counts with thousands marks when `groupDigits` (1.234).
std::string MeasuredText(const std::string& destination, const ChannelValues& values, bool groupDigits);

// The summary of a multi-system run: "(***) <item>: NoSystems=n, Processed=n, Failed=n".
std::string SummaryText(const RunReport& report);

// Room of PRTG's text line: 2,000 characters.
constexpr std::size_t PrtgTextRoom = 2000;
// A text line with what NAMES= and EXCLUDE= add after it: a single system's
// note, or each listed system's ("; PRD: TS: PSAPTEMP ..."), within
// PrtgTextRoom as `xml` counts it (escaped, so that the document's room always
// takes the whole line). Without NAMES= only the rows EXCLUDE= left out are
// said; without either the text stays as it is.
std::string WithCriticalNames(const std::string& text, const RunReport& report, bool withNames, bool xml);

// Builds the "Pinewood" key: separators become "_", then the first full stop.
std::string MakeChannelKey(std::string key);

// A channel's unit as the text flavours show it: "#" for none, "%" for
// "PerCent", "mSec" for "TimeResponse".
std::string ShownUnit(const std::string& unit);
