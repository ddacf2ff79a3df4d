#include "config/ParallelOption.h"

#include "config/RunSettings.h"

std::string SelectParallelSystems(RunSettingsRecord& settings) {
    settings.ParallelSystems = DefaultParallelSystems;
    if (!settings.Has("PARALLEL=")) return "";
    const std::string value = settings.ValueAt("PARALLEL=", std::string::npos, " ,");
    unsigned long count = 0;
    bool valid = !value.empty() && value.size() <= 3;
    for (char c : value) {
        if (c < '0' || c > '9') valid = false;
        if (valid) count = count * 10 + static_cast<unsigned long>(c - '0');
    }
    if (!valid || count < 1 || count > MostParallelSystems) return "Error 1009: Invalid PARALLEL=" + value + " !";
    settings.ParallelSystems = static_cast<unsigned>(count);
    return "";
}
