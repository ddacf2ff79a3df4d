// What the platform forces to be process-wide, gathered in one context: the
// lock that the run and the watchdog share, the watchdog's thread and the
// time the process started, the log file they both write, and what the path
// layer has learnt of the drives and folders (read once per run, as a listing
// of many systems would read the same folder once per system otherwise).
// Only src/platform includes this header; the rest of the sensor reaches the
// context through the platform's functions.
#pragma once

#include <atomic>
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <sys/types.h>
#include <time.h>

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>
#endif

#include "platform/WindowsPaths.h"

struct OutputLockRecord {
#ifdef _WIN32
    // Made before main runs, as a lock made on first use would need a lock of its own.
    CRITICAL_SECTION Section;
    OutputLockRecord() { InitializeCriticalSection(&Section); }
#else
    pthread_mutex_t Mutex = PTHREAD_MUTEX_INITIALIZER;
#endif
};

struct WatchdogRecord {
    unsigned long long ProcessStart = 0;  // milliseconds on a clock that only goes forward
    std::atomic<unsigned long long> Deadline{0};
    std::atomic<void (*)()> Expired{nullptr};
    std::atomic<bool> Started{false};
#ifdef _WIN32
    // Set when the run ends by itself: the watchdog ends before the process does,
    // as Wine complains of a thread that the end of its process cuts off.
    HANDLE StopEvent = nullptr;
    HANDLE Thread = nullptr;
#endif
};

// Under the output lock, which the watchdog takes too.
struct EventLogRecord {
    bool Wanted = false;  // the options ask for log lines (",SYSLOG")
    bool Tried = false;
    std::FILE* Stream = nullptr;
};

#ifndef _WIN32
// The drives and the working directory stay as they are for the whole run.
struct DrivesRecord {
    bool Known = false;
    std::string Root;
    char Current = 'c';
};

// What a directory held when it was read for names in another letter case,
// kept small (a folder may hold a profile for each of 100,000 systems): the
// names one after the other, and where each starts, ordered by the name in
// lower case and, among names that differ in case only, as the folder lists them.
// It serves while the directory is unchanged: the same file with the same
// modification time, which every entry created, removed or renamed in it
// moves on. A listing read in the same clock tick as the directory's last
// change could miss a second change in that tick, so it serves that lookup
// only and the next one reads the directory again.
struct DirectoryListing {
    dev_t Device = 0;
    ino_t Inode = 0;
    timespec Modified{};
    bool Settled = false;
    std::string Names;  // each ended by a zero byte
    std::vector<std::uint32_t> ByFoldedName;

    std::string_view NameAt(std::uint32_t start) const { return Names.data() + start; }

    // The entry a component names: the component itself when the folder holds
    // it as written, else the first entry that differs from it in the case of
    // a to z only; empty when there is none.
    std::string EntryNamed(const std::string& component) const;
};
#endif

struct PathLookupRecord {
#ifndef _WIN32
    DrivesRecord Drives;
    std::unordered_map<std::string, DirectoryListing> Listings;
#endif
    PathLookupCounts Counts;
};

struct ProcessContextRecord {
    OutputLockRecord OutputLock;
    WatchdogRecord Watchdog;
    EventLogRecord EventLog;
    PathLookupRecord Paths;
};

extern ProcessContextRecord Process;
