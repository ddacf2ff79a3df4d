#include "platform/Watchdog.h"

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

unsigned long long ProcessStart = 0;
std::atomic<unsigned long long> Deadline{0};
std::atomic<void (*)()> Expired{nullptr};
std::atomic<bool> Started{false};

void SleepMilliseconds(unsigned long long milliseconds) {
#ifdef _WIN32
    Sleep(static_cast<DWORD>(milliseconds > 60000 ? 60000 : milliseconds));
#else
    timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    nanosleep(&wait, nullptr);  // woken early by a signal: the loop sleeps again
#endif
}

// Sleeps until the deadline, which a later StartWatchdog may have moved.
void Watch() {
    for (unsigned long long now = Now(); now < Deadline.load(); now = Now()) SleepMilliseconds(Deadline.load() - now);
    Expired.load()();
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

void MarkProcessStart() { ProcessStart = Now(); }

bool StartWatchdog(unsigned seconds, void (*expired)()) {
    Deadline = ProcessStart + static_cast<unsigned long long>(seconds) * 1000ULL;
    Expired = expired;
    if (Started.exchange(true)) return true;
#ifdef _WIN32
    uintptr_t thread = _beginthreadex(nullptr, 64 * 1024, WatchThread, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == 0) {
        Started = false;
        return false;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread));
#else
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    const bool created = pthread_create(&thread, &attributes, WatchThread, nullptr) == 0;
    pthread_attr_destroy(&attributes);
    if (!created) {
        Started = false;
        return false;
    }
#endif
    return true;
}

void EndProcessNow(int exitCode) {
#ifdef _WIN32
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
#endif
    _exit(exitCode);
}
