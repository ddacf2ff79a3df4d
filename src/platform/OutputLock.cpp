#include "platform/OutputLock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <time.h>
#endif

#ifdef _WIN32

namespace {

// Made before main runs, as a function-local static would need a lock of its own.
struct CriticalSectionRecord {
    CRITICAL_SECTION Section;
    CriticalSectionRecord() { InitializeCriticalSection(&Section); }
} Lock;

}  // namespace

void LockOutput() { EnterCriticalSection(&Lock.Section); }

void UnlockOutput() { LeaveCriticalSection(&Lock.Section); }

bool TryLockOutput(unsigned milliseconds) {
    const ULONGLONG until = GetTickCount64() + milliseconds;
    while (!TryEnterCriticalSection(&Lock.Section)) {
        if (GetTickCount64() >= until) return false;
        Sleep(10);
    }
    return true;
}

#else

namespace {

pthread_mutex_t Lock = PTHREAD_MUTEX_INITIALIZER;

}  // namespace

void LockOutput() { pthread_mutex_lock(&Lock); }

void UnlockOutput() { pthread_mutex_unlock(&Lock); }

bool TryLockOutput(unsigned milliseconds) {
    timespec until{};
    clock_gettime(CLOCK_REALTIME, &until);
    until.tv_sec += milliseconds / 1000;
    until.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (until.tv_nsec >= 1000000000L) {
        until.tv_sec += 1;
        until.tv_nsec -= 1000000000L;
    }
    return pthread_mutex_timedlock(&Lock, &until) == 0;
}

#endif
