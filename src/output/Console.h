// Console lines, log lines and the small text helpers of the output.
#pragma once

#include <string>

// Everything the sensor writes goes to standard output, unchanged.
void WriteOut(const std::string& text);
void WriteOutLine(const std::string& text);

// Indent blanks, the key left-justified in `width` characters (a longer key
// whole), " : ", the value and a newline.
std::string FieldLine(const std::string& key, int indent, int width, const std::string& value);
void PrintField(const std::string& key, int indent, int width, const std::string& value);

// Thousands marks: 1234 -> 1.234, 1234567 -> 1.234.567, never more than two marks.
void GroupDigits(std::string& digits);

// "%d %s %s\n" to "SpaceWarden.log" when the options hold ",SYSLOG"; flushed at once.
void LogEvent(long number, const std::string& event, const std::string& detail);
