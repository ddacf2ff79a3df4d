#include "config/HostFormat.h"

#include "config/RunSettings.h"

namespace {

// Adding a host: its enum value, a line here, and its writer in a file of its
// own in output/ with the maker named here. A trait not named is false.
constexpr HostFormatTraits HostFormats[] = {
    {.Format = HostFormat::ExeXml, .Name = "EXEXML", .MakeWriter = MakePrtgXmlWriter, .PrtgXml = true,
     .StreamsSystems = true, .VerboseLines = true, .GroupsDigits = true, .QuietFatalReport = true},
    {.Format = HostFormat::Kestrel, .Name = "Kestrel", .MakeWriter = MakePrtgXmlWriter, .PrtgXml = true,
     .StreamsSystems = true, .ProfileAtNamedPlace = true, .VerboseLines = true, .GroupsDigits = true,
     .QuietFatalReport = true},
    {.Format = HostFormat::Pinewood, .Name = "Pinewood", .MakeWriter = MakePinewoodWriter, .StreamsSystems = true,
     .ProfileAtNamedPlace = true, .VerboseLines = true, .GroupsDigits = true},
    {.Format = HostFormat::Juniper, .Name = "Juniper", .MakeWriter = MakeJuniperWriter, .StreamsSystems = true,
     .ProfileAtNamedPlace = true, .VerboseLines = true, .GroupsDigits = true},
    {.Format = HostFormat::Bramble, .Name = "Bramble", .MakeWriter = MakePrtgXmlWriter, .PrtgXml = true,
     .StreamsSystems = true, .ProfileAtNamedPlace = true, .VerboseLines = true, .GroupsDigits = true,
     .QuietFatalReport = true},
    {.Format = HostFormat::Nagios, .Name = "Nagios", .ProgramPrefix = "CHECK_", .MakeWriter = MakePluginWriter,
     .StreamsSystems = true, .ProfileAtNamedPlace = true, .GoesOnPastFailedSystem = true, .MachinePaths = true,
     .VerboseLines = true, .PluginCommandLine = true, .NamesLibraryFaults = true, .WarnsOfOpenProfiles = true,
     .JudgesThresholds = true, .QuietFatalReport = true},
    {.Format = HostFormat::Checkmk, .Name = "Checkmk", .ProgramPrefix = "SPACEWARDEN_LOCAL",
     .MakeWriter = MakeCheckmkWriter, .ProfileAtNamedPlace = true, .GoesOnPastFailedSystem = true,
     .MachinePaths = true, .JudgesThresholds = true, .HostLevels = true, .GroupsDigits = true,
     .QuietFatalReport = true},
    {.Format = HostFormat::ScriptV2, .Name = "ScriptV2", .MakeWriter = MakeScriptV2Writer, .ProfileAtNamedPlace = true,
     .GoesOnPastFailedSystem = true, .MachinePaths = true, .JudgesThresholds = true, .GroupsDigits = true,
     .QuietFatalReport = true},
    {.Format = HostFormat::Prometheus, .Name = "Prometheus", .MakeWriter = MakePrometheusWriter,
     .ProfileAtNamedPlace = true, .GoesOnPastFailedSystem = true, .MachinePaths = true, .Textfile = true,
     .GroupsDigits = true, .QuietFatalReport = true},
};

}  // namespace

const HostFormatTraits& TraitsOf(HostFormat format) {
    for (const HostFormatTraits& entry : HostFormats)
        if (entry.Format == format) return entry;
    return HostFormats[0];
}

std::vector<HostFormat> AllHostFormats() {
    std::vector<HostFormat> formats;
    for (const HostFormatTraits& entry : HostFormats) formats.push_back(entry.Format);
    return formats;
}

std::string HostFormatName(HostFormat format) { return TraitsOf(format).Name; }

bool FindHostFormat(const std::string& name, HostFormat& format) {
    for (const HostFormatTraits& entry : HostFormats) {
        if (UpperAscii(name) != UpperAscii(entry.Name)) continue;
        format = entry.Format;
        return true;
    }
    return false;
}

HostFormat DefaultHostFormat(const std::string& programPath) {
    const std::size_t folderEnd = programPath.find_last_of("/\\");
    const std::string program = UpperAscii(folderEnd == std::string::npos ? programPath : programPath.substr(folderEnd + 1));
    for (const HostFormatTraits& entry : HostFormats) {
        if (entry.ProgramPrefix == nullptr) continue;
        const std::string prefix = entry.ProgramPrefix;
        if (program.compare(0, prefix.size(), prefix) == 0) return entry.Format;
    }
    return HostFormats[0].Format;
}

HostFormat FirstFormatWith(bool HostFormatTraits::*trait) {
    for (const HostFormatTraits& entry : HostFormats)
        if (entry.*trait) return entry.Format;
    return HostFormats[0].Format;
}
