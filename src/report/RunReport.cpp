#include "report/RunReport.h"

std::size_t ChannelIndex(const std::string& name) {
    for (std::size_t index = 0; index < ChannelCount; ++index)
        if (name == ChannelNames[index]) return index;
    return ChannelCount;
}

std::string SystemNameWithoutExtension(const std::string& profileName) {
    const std::size_t size = profileName.size();
    if (size > 4 && profileName[size - 4] == '.') return profileName.substr(0, size - 4);
    return profileName;
}
