// The one document the monitoring host reads, and its frame in each host flavour.
#pragma once

#include <string>
#include <string_view>

// Room of the document: 4096 bytes with the terminator. Appends beyond it are cut.
constexpr std::size_t ResultDocumentRoom = 4095;
// Room of an error text handed to WriteErrorDocument.
constexpr std::size_t MessageTextRoom = 127;

extern std::string ResultDocument;

void EmptyDocument();
void AppendToDocument(std::string_view text);

void BeginDocument();
void BeginText();
void EndText();
void EndDocument();

// Replaces the document by the error document around the text (cut to 127 characters).
void WriteErrorDocument(std::string_view errorText);

// Writes the document to standard output unchanged ("%s"), or followed by one newline ("%s\n").
void WriteDocument();
void WriteDocumentLine();
