#include "platform/OutputLock.h"

#include "platform/ProcessContext.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#include <time.h>
#endif

#ifdef _WIN32


void LockOutput() { EnterCriticalSection(&Process.OutputLock.Section); }

void UnlockOutput() { LeaveCriticalSection(&Process.OutputLock.Section); }

bool TryLockOutput(unsigned milliseconds) {
    const ULONGLONG until = GetTickCount64() + milliseconds;
    while (!TryEnterCriticalSection(&Process.OutputLock.Section)) {
        if (GetTickCount64() >= until) return false;
        Sleep(10);
    }
    return true;
}

#else


void LockOutput() { pthread_mutex_lock(&Process.OutputLock.Mutex); }

void UnlockOutput() { pthread_mutex_unlock(&Process.OutputLock.Mutex); }

bool TryLockOutput(unsigned milliseconds) {
    timespec until{};
    clock_gettime(CLOCK_REALTIME, &until);
    until.tv_sec += milliseconds / 1000;
    until.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (until.tv_nsec >= 1000000000L) {
        until.tv_sec += 1;
        until.tv_nsec -= 1000000000L;
    }
    return pthread_mutex_timedlock(&Process.OutputLock.Mutex, &until) == 0;
}

#endif
