#include "output/Console.h"

#include <cstdio>

#include "config/RunSettings.h"
#include "output/StandardOutput.h"
#include "platform/Files.h"
#include "platform/OutputLock.h"

namespace {

std::FILE* LogStream = nullptr;
bool LogStreamTried = false;

}  // namespace

std::string FieldLine(const std::string& key, int indent, int width, const std::string& value) {
    std::string line(indent > 0 ? static_cast<std::size_t>(indent) : 0, ' ');
    line += key;
    if (width > 0 && key.size() < static_cast<std::size_t>(width)) line.append(width - key.size(), ' ');
    line += " : ";
    line += value;
    line += "\n";
    return line;
}

void PrintField(const std::string& key, int indent, int width, const std::string& value) {
    WriteOut(FieldLine(key, indent, width, value));
}

void GroupDigits(std::string& digits) {
    std::size_t length = digits.size();
    if (length <= 3) return;
    if (length <= 6) {
        digits = digits.substr(0, length - 3) + "." + digits.substr(length - 3);
        return;
    }
    digits = digits.substr(0, length - 6) + "." + digits.substr(length - 6, 3) + "." + digits.substr(length - 3);
}

namespace {

void OpenEventLogLocked() {
    if (LogStreamTried) return;
    LogStreamTried = true;
    LogStream = OpenForAppend("SpaceWarden.log");
}

}  // namespace

void LogEvent(long number, const std::string& event, const std::string& detail) {
    // Taken also without ",SYSLOG": a run whose library call came back after
    // the deadline stops here, before it calls the library again.
    OutputLockHeld held;
    if (!ParameterHas(",SYSLOG")) return;
    OpenEventLogLocked();
    WriteLogLineLocked(number, event, detail);
}

void OpenEventLog() {
    OutputLockHeld held;
    if (ParameterHas(",SYSLOG")) OpenEventLogLocked();
}

void WriteLogLineLocked(long number, const std::string& event, const std::string& detail) {
    if (!LogStream) return;  // a log that cannot be written never changes the result
    std::fprintf(LogStream, "%ld %s %s\n", number, event.c_str(), detail.c_str());
    std::fflush(LogStream);
}

void CloseEventLog() {
    if (LogStream) std::fclose(LogStream);
    LogStream = nullptr;
    LogStreamTried = false;
}

std::string ConsoleLine(const std::string& text) { return text.substr(0, ConsoleLineRoom); }
