// The lock around everything that both the run and the watchdog touch:
// standard output, the log file and what the watchdog writes when the deadline
// passes. The watchdog never gives it back, so the run writes nothing after it.
#pragma once

void LockOutput();
void UnlockOutput();

// Takes the lock unless another thread keeps it for longer than `milliseconds`
// (a run blocked in a write to a reader that does not read).
bool TryLockOutput(unsigned milliseconds);

// Holds the lock for a block.
class OutputLockHeld {
public:
    OutputLockHeld() { LockOutput(); }
    ~OutputLockHeld() { UnlockOutput(); }
    OutputLockHeld(const OutputLockHeld&) = delete;
    OutputLockHeld& operator=(const OutputLockHeld&) = delete;
};
