// Standard output, where everything the sensor writes goes, and the end of
// the process.
#pragma once

#include <string>

#include "output/RunContext.h"

// Called first in the process: secures the standard streams (a closed one is
// reopened on the null device). A standard output that was closed counts as
// one that cannot be written.
void StartStandardOutput();

// Writes the text unchanged, at once. Every write is checked: after the first
// that fails nothing more is written, and the process ends with exit code 2.
// Once the watchdog has taken over (the deadline passed), a write waits for
// the end of the process: the run writes nothing more.
void WriteOut(const std::string& text);
// The same for a caller that holds the output lock (the watchdog).
void WriteOutLocked(const std::string& text);
// Writes the text and a newline.
void WriteOutLine(const std::string& text);

// From now on what WriteOut writes is held back until a document (a monitoring
// plugin's status line) is written with WriteDocumentOut, and written after it:
// a plugin's host takes the first line for the status, and the held lines for
// its long text, in which a "|" is written as "/".
void HoldConsoleLines();
// Writes a document at once, then whatever was held back (an empty one
// releases nothing).
void WriteDocumentOut(const std::string& text);
// The same for a caller that holds the output lock (the watchdog).
void WriteDocumentOutLocked(const std::string& text);

// A worker's: from now on what the run writes is kept, not written; the
// worker hands it to the run that started it.
void CaptureStandardOutput();
std::string TakeCapturedOutput();

// True when standard output could not take everything written to it.
bool StandardOutputLost();

// Ends the process with the exit code, or with 2 when standard output could
// not take everything written to it (closed at start, a write failed, or its
// closing at the end failed). The run's writer turns the exit code into its
// host's: a monitoring plugin's is the state of the status line written (0 OK,
// 1 WARNING, 2 CRITICAL, 3 UNKNOWN), and 3 when standard output could not take it.
[[noreturn]] void EndProcess(int exitCode);

// The exit code of a run whose output was lost: 2, or 3 for a monitoring plugin.
int LostOutputExitCode();
// For a caller that holds the output lock and wrote an error of its own (the
// watchdog): the error's exit code, unless the output was lost.
int ErrorExitCodeLocked(int stateExitCode);

// The run's document is on standard output as a whole, and the run will end
// with this exit code: a deadline that passes from now on leaves the output as
// it is and ends the process with this code (the run may still be closing its
// connection).
void DocumentComplete(int exitCode);

// For a caller that holds the output lock: true, with the run's exit code,
// once its document is complete.
bool DocumentCompleteLocked(int& exitCode);

// A harness that runs the sensor inside its own process (the fuzzers) ends a
// run its own way (output/RunContext.h). Without a hook the process ends.
// Standard output is then left open for the harness.
void SetProcessEndHook(ProcessEndHook hook);
bool ProcessEndHookSet();
