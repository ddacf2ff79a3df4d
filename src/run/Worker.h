// The worker mode of the sensor: one listed system checked in a process of
// its own, for a multi-system run that checks its systems side by side.
#pragma once

// Reads task after task (run/WorkerMessages.h) from standard input, checks
// each system as a listing's run does (library, logon, probes, database,
// critical objects) and writes each answer to standard output. What the run
// would have written meanwhile (console lines, the error document that ends
// it) goes into the answer. Returns the process's exit code once standard
// input ends: 0.
int RunWorker();
