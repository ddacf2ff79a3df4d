#include "platform/Watchdog.h"

#include "platform/ProcessContext.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#include <process.h>
#else
#include <pthread.h>
#include <time.h>
#include <unistd.h>
#endif

namespace {

// Milliseconds on a clock that only goes forward.
unsigned long long Now() {
#ifdef _WIN32
    return GetTickCount64();
#else
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<unsigned long long>(now.tv_sec) * 1000ULL + static_cast<unsigned long long>(now.tv_nsec) / 1000000ULL;
#endif
}

WatchdogRecord& Watchdog = Process.Watchdog;

// Sleeps for at most the time given; false when the watchdog was stopped.
bool SleepMilliseconds(unsigned long long milliseconds) {
#ifdef _WIN32
    return WaitForSingleObject(Watchdog.StopEvent, static_cast<DWORD>(milliseconds > 60000 ? 60000 : milliseconds)) ==
           WAIT_TIMEOUT;
#else
    timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    nanosleep(&wait, nullptr);  // woken early by a signal: the loop sleeps again
    return true;
#endif
}

// Sleeps until the deadline, which a later StartWatchdog or MoveWatchdog may
// have moved, earlier too: it looks again at least every WatchStepMilliseconds.
constexpr unsigned long long WatchStepMilliseconds = 50;

void Watch() {
    for (unsigned long long now = Now(); now < Watchdog.Deadline.load(); now = Now())
        if (!SleepMilliseconds(std::min(Watchdog.Deadline.load() - now, WatchStepMilliseconds))) return;
    Watchdog.Expired.load()();
}

#ifdef _WIN32
unsigned __stdcall WatchThread(void*) {
    Watch();
    return 0;
}
#else
void* WatchThread(void*) {
    Watch();
    return nullptr;
}
#endif

}  // namespace

void MarkProcessStart() { Watchdog.ProcessStart = Now(); }

unsigned long long MillisecondsSinceProcessStart() { return Now() - Watchdog.ProcessStart; }

void PauseMilliseconds(unsigned long long milliseconds) {
#ifdef _WIN32
    Sleep(static_cast<DWORD>(std::min(milliseconds, WatchStepMilliseconds)));
#else
    const unsigned long long step = std::min(milliseconds, WatchStepMilliseconds);
    timespec wait{static_cast<time_t>(step / 1000), static_cast<long>(step % 1000) * 1000000L};
    nanosleep(&wait, nullptr);
#endif
}

bool MoveWatchdog(unsigned long long millisecondsAfterStart, void (*expired)()) {
    if (!Watchdog.Started.load()) return false;
    // The call first: a watchdog that wakes at the new time calls the new one.
    Watchdog.Expired = expired;
    Watchdog.Deadline = Watchdog.ProcessStart + millisecondsAfterStart;
    return true;
}

bool StartWatchdog(unsigned seconds, void (*expired)()) {
    Watchdog.Deadline = Watchdog.ProcessStart + static_cast<unsigned long long>(seconds) * 1000ULL;
    Watchdog.Expired = expired;
    if (Watchdog.Started.exchange(true)) return true;
#ifdef _WIN32
    Watchdog.StopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    uintptr_t thread = _beginthreadex(nullptr, 64 * 1024, WatchThread, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (Watchdog.StopEvent == nullptr || thread == 0) {
        Watchdog.Started = false;
        return false;
    }
    Watchdog.Thread = reinterpret_cast<HANDLE>(thread);
#else
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    // It sleeps and, once, writes the error document: a small stack is mapped sooner than the default 8 MB.
    pthread_attr_setstacksize(&attributes, 64 * 1024);
    pthread_t thread;
    const bool created = pthread_create(&thread, &attributes, WatchThread, nullptr) == 0;
    pthread_attr_destroy(&attributes);
    if (!created) {
        Watchdog.Started = false;
        return false;
    }
#endif
    return true;
}

void StopWatchdog() {
#ifdef _WIN32
    if (!Watchdog.Started.load() || Watchdog.Thread == nullptr) return;
    SetEvent(Watchdog.StopEvent);
    // A watchdog that is ending the process already needs no waiting for.
    WaitForSingleObject(Watchdog.Thread, 1000);
#endif
}

void EndProcessNow(int exitCode) {
#ifdef _WIN32
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
#endif
    _exit(exitCode);
}
