#include "config/ProfileLocation.h"

#include "config/RunSettings.h"

namespace {

constexpr const char* DefaultExtension = ".P00";
constexpr const char* GlobalWord = "GLOBAL.P00";

void AppendDefaultExtension(RunSettingsRecord& settings) { settings.ProfileName = WithDefaultExtension(settings.ProfileName); }

void TestForGlobalWord(RunSettingsRecord& settings) {
    if (UpperAscii(settings.ProfileName) == GlobalWord) {
        settings.GlobalMode = true;
        settings.ProfileName = GlobalListingName;
    }
}

}  // namespace

// A name keeps its ending when it has a full stop fourth from its end.
std::string WithDefaultExtension(const std::string& name) {
    if (name.size() < 4 || name[name.size() - 4] != '.') return name + DefaultExtension;
    return name;
}

bool NamesGlobalListing(const std::string& name) {
    const std::size_t folderEnd = name.find_last_of("/\\");
    return UpperAscii(WithDefaultExtension(folderEnd == std::string::npos ? name : name.substr(folderEnd + 1))) ==
           GlobalWord;
}

std::string NotOpenedWording(const std::string& whyNotOpened) {
    // That a file is there but cannot be read is what the admin must mend.
    return whyNotOpened.empty() ? "is missing" : whyNotOpened;
}

void ResolveProfileName(RunSettingsRecord& settings) {
    AppendDefaultExtension(settings);
    TestForGlobalWord(settings);
    AppendDefaultExtension(settings);
}

void SplitProfileDirectory(RunSettingsRecord& settings) {
    std::string& name = settings.ProfileName;
    // A monitoring plugin, and the hosts that read a whole report (Checkmk's
    // agent, PRTG's Linux probe, a Prometheus job), name a profile as a path
    // of the machine ("/etc/spacewarden/PRD"), whose folders "/" separates.
    const bool machinePath = settings.Host().MachinePaths && !name.empty() && name[0] == '/';
    // A name whose only backslash leads it ("\PRD") stays whole.
    std::size_t lastBackslash = name.rfind(machinePath ? '/' : '\\');
    if (lastBackslash != std::string::npos && lastBackslash != 0) {
        settings.ProfileDirectory = name.substr(0, lastBackslash + 1);
        name.erase(0, lastBackslash + 1);
    }
    TestForGlobalWord(settings);
}

std::string SelectHostFlavour(RunSettingsRecord& settings) {
    settings.HostFlavour = DefaultHostFormat(settings.ProgramPath);
    if (!settings.Has("FLAVOUR=")) return "";
    std::string value = settings.ValueAt("FLAVOUR=", std::string::npos, " ,");
    if (FindHostFormat(value, settings.HostFlavour)) return "";
    return "Error 1008: Host-Flavour " + value + " is unknown...";
}

std::string ProfileMissingText(const std::string& shownName, const std::string& whyNotOpened) {
    return "Error 1002: Profile " + shownName + " " + NotOpenedWording(whyNotOpened) + "...";
}

std::string OpenProfileAtNamedPlace(RunSettingsRecord& settings, TextFile& profileFile) {
    settings.ProfilePath = settings.ProfileDirectory + settings.ProfileName;
    if (!profileFile.Open(settings.ProfilePath))
        return ProfileMissingText(settings.ProfilePath, profileFile.WhyNotOpened());
    return "";
}
