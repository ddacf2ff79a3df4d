// The one document the monitoring host reads, and its frame in each host flavour.
#pragma once

#include <string>
#include <string_view>

// Room of the document: 4096 bytes with the terminator. Appends beyond it are cut.
constexpr std::size_t ResultDocumentRoom = 4095;
// Room of an error text handed to WriteErrorDocument.
constexpr std::size_t MessageTextRoom = 127;

extern std::string ResultDocument;

// True for the flavours whose document is PRTG's XML ("EXEXML", "Bramble",
// "Kestrel"); the error document is XML in every flavour but "Nagios", whose
// document is a monitoring plugin's status line (output/PluginStatus.h).
bool IsXmlFlavour();

// "&", "<" and ">" as the entities an XML parser reads back as these
// characters; a control character other than tab, CR and LF, which no XML
// reader takes, as a blank.
std::string EscapeMarkup(std::string_view text);

void EmptyDocument();
void AppendToDocument(std::string_view text);
// Appends a text that goes inside the document's markup (the text line, a
// channel's name, value or unit): escaped in the XML flavours, where a raw
// "&" or "<" would make the host's parser refuse the whole document. Near the
// document's room an entity is appended whole or not at all.
void AppendTextToDocument(std::string_view text);

void BeginDocument();
void BeginText();
void EndText();
void EndDocument();

// Replaces the document by the error document around the text (cut to 127
// characters, then escaped). Once a streamed multi-system run has written its
// opening in an XML flavour, the error document leaves out its own "<Prtg>"
// line, so that it closes the document already on standard output.
void WriteErrorDocument(std::string_view errorText);
// The text of the error document written last (cut as written); empty before any.
const std::string& LastErrorText();
// The same error document, built aside, leaving the buffer as it is (the
// watchdog's, while the run may be filling the buffer).
std::string ErrorDocument(std::string_view errorText);

// A streamed run has written the opening "<Prtg>" of an XML document to
// standard output, which only its summary or an error document closes.
void NoteDocumentOpeningWritten();
// For a process that runs the sensor more than once (tests, fuzzing harnesses).
void ForgetDocumentOpening();

// Writes the document to standard output unchanged ("%s"), or followed by one newline ("%s\n").
void WriteDocument();
void WriteDocumentLine();
