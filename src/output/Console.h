// Console lines and the small text helpers of the output.
#pragma once

#include <string>

// Room of a console line built in the TraceLine buffer.
constexpr std::size_t ConsoleLineRoom = 123;

// A console line cut to the room of the TraceLine buffer.
std::string ConsoleLine(const std::string& text);

// Indent blanks, the key left-justified in `width` characters (a longer key
// whole), " : ", the value and a newline.
std::string FieldLine(const std::string& key, int indent, int width, const std::string& value);
void PrintField(const std::string& key, int indent, int width, const std::string& value);

// Thousands marks: 1234 -> 1.234, 1234567 -> 1.234.567, never more than two marks.
void GroupDigits(std::string& digits);

