// The log lines of ",SYSLOG": "%d %s %s\n" appended to "SpaceWarden.log",
// flushed at once. The run says whether its options ask for them; the RFC
// layer and the watchdog write them.
#pragma once

#include <string>

// Whether the options ask for log lines (",SYSLOG"); off at start.
void WantEventLog(bool wanted);

// A log line when they are wanted; the log is opened at the first. Taken also
// without them: once the watchdog has taken over (the deadline passed), the
// run waits here for the end of the process, before it calls the library again.
void LogEvent(long number, const std::string& event, const std::string& detail);
// Opens the log when lines are wanted, before a call that may never return (a
// logon), so that the watchdog finds it open.
void OpenSensorLog();
// Whether lines are wanted, read under the output lock (the watchdog's).
bool EventLogWantedLocked();
// Writes the line to the log when it is open, for a caller that holds the
// output lock (the watchdog, which opens no file of its own).
void WriteLogLineLocked(long number, const std::string& event, const std::string& detail);

// Closes SpaceWarden.log; the next line opens it again. For a process that
// runs the sensor more than once (the fuzzing harnesses).
void CloseEventLog();
