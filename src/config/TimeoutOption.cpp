#include "config/TimeoutOption.h"

#include "config/RunSettings.h"

std::string SelectDeadline(RunSettingsRecord& settings) {
    settings.DeadlineSeconds = DefaultDeadlineSeconds;
    if (!settings.Has("TIMEOUT=")) return "";
    const std::string value = settings.ValueAt("TIMEOUT=", std::string::npos, " ,");
    unsigned long seconds = 0;
    bool valid = !value.empty();
    for (char c : value) {
        if (c < '0' || c > '9') valid = false;
        // Leading zeros are no more seconds; anything longer is too many.
        if (valid) seconds = seconds * 10 + static_cast<unsigned long>(c - '0');
        if (seconds > LongestDeadlineSeconds) valid = false;
        if (!valid) break;
    }
    if (!valid) return "Error 1009: Invalid TIMEOUT=" + value + " !";
    settings.DeadlineSeconds = static_cast<unsigned>(seconds);
    return "";
}
