#include "config/HostFormat.h"

#include "config/RunSettings.h"

namespace {

struct HostFormatEntry {
    HostFormat Format;
    const char* Name;
    DocumentForm Form;
    const char* ProgramPrefix;  // a program name that selects the format without FLAVOUR=, upper-cased
};

// Adding a host: its enum value, a line here, and its writer (output/ReportWriters.cpp).
constexpr HostFormatEntry HostFormats[] = {
    {HostFormat::ExeXml, "EXEXML", DocumentForm::PrtgXml, nullptr},
    {HostFormat::Kestrel, "Kestrel", DocumentForm::PrtgXml, nullptr},
    {HostFormat::Pinewood, "Pinewood", DocumentForm::PrtgText, nullptr},
    {HostFormat::Juniper, "Juniper", DocumentForm::PrtgText, nullptr},
    {HostFormat::Bramble, "Bramble", DocumentForm::PrtgXml, nullptr},
    {HostFormat::Nagios, "Nagios", DocumentForm::PluginStatus, "CHECK_"},
    {HostFormat::Checkmk, "Checkmk", DocumentForm::WholeRun, "SPACEWARDEN_LOCAL"},
    {HostFormat::ScriptV2, "ScriptV2", DocumentForm::WholeRun, nullptr},
    {HostFormat::Prometheus, "Prometheus", DocumentForm::WholeRun, nullptr},
};

const HostFormatEntry& EntryOf(HostFormat format) {
    for (const HostFormatEntry& entry : HostFormats)
        if (entry.Format == format) return entry;
    return HostFormats[0];
}

}  // namespace

std::string HostFormatName(HostFormat format) { return EntryOf(format).Name; }

DocumentForm FormOf(HostFormat format) { return EntryOf(format).Form; }

bool FindHostFormat(const std::string& name, HostFormat& format) {
    for (const HostFormatEntry& entry : HostFormats) {
        if (UpperAscii(name) != UpperAscii(entry.Name)) continue;
        format = entry.Format;
        return true;
    }
    return false;
}

HostFormat DefaultHostFormat(const std::string& programPath) {
    const std::size_t folderEnd = programPath.find_last_of("/\\");
    const std::string program = UpperAscii(folderEnd == std::string::npos ? programPath : programPath.substr(folderEnd + 1));
    for (const HostFormatEntry& entry : HostFormats) {
        if (entry.ProgramPrefix == nullptr) continue;
        const std::string prefix = entry.ProgramPrefix;
        if (program.compare(0, prefix.size(), prefix) == 0) return entry.Format;
    }
    return HostFormat::ExeXml;
}
