#include "report/RunReport.h"

#include <set>

std::size_t ChannelIndex(const std::string& name) {
    for (std::size_t index = 0; index < ChannelCount; ++index)
        if (name == ChannelNames[index]) return index;
    return ChannelCount;
}

std::vector<std::string> DistinctSystemNames(const RunReport& report, std::string (*shown)(const std::string&)) {
    std::set<std::string> taken = {shown(report.Subject)};
    std::vector<std::string> names;
    for (const SystemResult& system : report.Systems) {
        std::string name = shown(system.Label.empty() ? system.Name : system.Label);
        if (taken.count(name) > 0) name += shown(" (" + system.Name + ")");
        const std::string base = name;
        for (unsigned n = 2; taken.count(name) > 0; ++n) name = base + " #" + std::to_string(n);
        taken.insert(name);
        names.push_back(name);
    }
    return names;
}

const long long* ItemValue(const RunReport& report, const SystemResult& system) {
    const std::size_t index = ChannelIndex(report.Item);
    return system.Measured && index != ChannelCount ? &system.Values[index] : nullptr;
}

std::string SingleSystemFailure(const RunReport& report) {
    if (!report.RunError.empty()) return report.RunError;
    if (report.Systems.empty()) return "no result";
    return report.Systems[0].Measured ? "" : report.Systems[0].Failure;
}

std::string SystemNameWithoutExtension(const std::string& profileName) {
    const std::size_t size = profileName.size();
    if (size > 4 && profileName[size - 4] == '.') return profileName.substr(0, size - 4);
    return profileName;
}
