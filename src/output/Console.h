// Console lines, log lines and the small text helpers of the output.
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

// "%d %s %s\n" to "SpaceWarden.log" when the options hold ",SYSLOG"; flushed at once.
// Once the watchdog has taken over, the run waits here for the end of the process.
void LogEvent(long number, const std::string& event, const std::string& detail);
// Opens "SpaceWarden.log" when the options hold ",SYSLOG", before a call that
// may never return (a logon), so that the watchdog finds it open.
void OpenEventLog();
// Writes the log line to the log when it is open, whatever the options hold,
// for a caller that holds the output lock and has read them before (the
// watchdog, which opens no file of its own).
void WriteLogLineLocked(long number, const std::string& event, const std::string& detail);

// Closes SpaceWarden.log; the next event opens it again. For a process that
// runs the sensor more than once (the fuzzing harnesses).
void CloseEventLog();
