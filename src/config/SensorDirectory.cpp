#include "config/SensorDirectory.h"

#include <vector>

#include "config/ProfileLocation.h"
#include "config/RunSettings.h"

namespace {

// Hint file lines are read in pieces of at most 99 characters.
constexpr std::size_t HintLineBuffer = 100;

constexpr const char* BelowParentOfHost = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
constexpr const char* BelowHost = "Custom Sensors\\ExeXml\\";
// On the current drive, where the monitoring host installs itself by default.
constexpr const char* FixedSensorDirectories[] = {
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};

bool NamesDirectory(const std::string& line) {
    return (line.size() > 0 && line[0] == '\\') || (line.size() > 2 && line[2] == '\\') ||
           (line.size() > 1 && line[1] == ':');
}

// Reads the directory the hint file leads to, always ending in a backslash.
// False when the hint file cannot be read to its end: it then counts as one
// that cannot be opened.
bool ReadHintedDirectory(TextFile& hintFile, std::string& directory) {
    directory.clear();
    std::string line;
    while (hintFile.ReadLine(line, HintLineBuffer)) {
        StripLineEnd(line);
        if (NamesDirectory(line)) directory = line;
    }
    hintFile.Close();
    if (hintFile.ReadFailed()) {
        directory.clear();
        return false;
    }
    if (directory.empty() || directory.back() != '\\') directory += '\\';
    return true;
}

// Why the first candidate that is there could not be opened, if one is.
std::string MissingProfileText(const RunSettingsRecord& settings, const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        TextFile file;
        if (!file.Open(candidate) && !file.WhyNotOpened().empty())
            return ProfileMissingText(settings.ProfileName, file.WhyNotOpened());
    }
    return ProfileMissingText(settings.ProfileName);
}

}  // namespace

bool IsSensorDirectory(const std::string& directory) {
    if (directory.size() < 7) return false;
    return UpperAscii(directory.substr(directory.size() - 7, 6)) == "EXEXML";
}

std::string DiscoverSensorDirectory(RunSettingsRecord& settings, TextFile& profileFile) {
    const std::string& name = settings.ProfileName;
    settings.ProfileDirectory.clear();
    std::string directory;

    TextFile hintFile;
    const bool hinted = hintFile.Open(PathHintFile) && ReadHintedDirectory(hintFile, directory);
    if (hinted) {
        // The hint may name the parent of the host's installation or the
        // installation itself; each step down is taken when the profile is there.
        if (FileCanBeOpened(directory + BelowParentOfHost + name)) directory += BelowParentOfHost;
        if (FileCanBeOpened(directory + BelowHost + name)) directory += BelowHost;
        if (!FileCanBeOpened(directory + name)) return MissingProfileText(settings, {directory + name});
    }

    std::string found;
    bool opened = profileFile.Open(directory + name);
    if (opened) found = directory;
    for (const char* candidate : FixedSensorDirectories) {
        if (opened) break;
        opened = profileFile.Open(candidate + name);
        if (opened) found = candidate;
    }
    if (!opened) {
        std::vector<std::string> tried = {directory + name};
        for (const char* candidate : FixedSensorDirectories) tried.push_back(candidate + name);
        return MissingProfileText(settings, tried);
    }

    settings.ProfileDirectory = found;
    settings.ProfilePath = found + name;
    if (!IsSensorDirectory(found)) {
        profileFile.Close();
        return "Sorry, invalid Path-Usage...";
    }
    return "";
}
