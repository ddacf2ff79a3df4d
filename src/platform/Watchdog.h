// The watchdog: the one thread besides the run's, which ends the run when its
// deadline passes, whatever the run is waiting for (an RFC call that never
// returns does not return to the run either).
#pragma once

// Takes the time the process started; called first in the process. The
// deadline counts from here.
void MarkProcessStart();
// Milliseconds since MarkProcessStart, on a clock that only goes forward.
unsigned long long MillisecondsSinceProcessStart();

// Starts the watchdog, or moves its deadline when it runs: `expired` is called
// once on the watchdog's thread when `seconds` have passed since the process
// started (at once when they already have). False when no thread could be
// started; the run then goes on without a deadline.
bool StartWatchdog(unsigned seconds, void (*expired)());

// Sleeps for at most the time given, on the watchdog's thread.
void PauseMilliseconds(unsigned long long milliseconds);

// Moves a running watchdog's deadline to `millisecondsAfterStart` after the
// start of the process, earlier or later, with the call it makes then. False
// when no watchdog runs (no deadline).
bool MoveWatchdog(unsigned long long millisecondsAfterStart, void (*expired)());

// Stops the watchdog before the run ends by itself, so that the process ends
// with one thread (Wine complains of a thread cut off by the end of its process).
void StopWatchdog();

// Ends the process at once with the exit code, from any thread: no exit
// handlers run and no library is told, as the RFC library may be in the middle
// of a call on the run's thread. What was written to standard output stays.
[[noreturn]] void EndProcessNow(int exitCode);
