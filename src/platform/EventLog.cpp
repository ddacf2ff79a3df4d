#include "platform/EventLog.h"

#include <cstdio>

#include "platform/Files.h"
#include "platform/OutputLock.h"
#include "platform/ProcessContext.h"

namespace {

EventLogRecord& Log = Process.EventLog;

void OpenLocked() {
    if (Log.Tried) return;
    Log.Tried = true;
    Log.Stream = OpenForAppend("SpaceWarden.log");
}

}  // namespace

void WantEventLog(bool wanted) {
    OutputLockHeld held;
    Log.Wanted = wanted;
}

void LogEvent(long number, const std::string& event, const std::string& detail) {
    OutputLockHeld held;
    if (!Log.Wanted) return;
    OpenLocked();
    WriteLogLineLocked(number, event, detail);
}

void OpenSensorLog() {
    OutputLockHeld held;
    if (Log.Wanted) OpenLocked();
}

bool EventLogWantedLocked() { return Log.Wanted; }

void WriteLogLineLocked(long number, const std::string& event, const std::string& detail) {
    if (!Log.Stream) return;  // a log that cannot be written never changes the result
    std::fprintf(Log.Stream, "%ld %s %s\n", number, event.c_str(), detail.c_str());
    std::fflush(Log.Stream);
}

void CloseEventLog() {
    if (Log.Stream) std::fclose(Log.Stream);
    Log = EventLogRecord{};
}
