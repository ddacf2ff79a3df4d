// The monitoring hosts the sensor answers: one table that names each format,
// says how its program name selects it, which writer turns the run's report
// into its bytes, and what its host expects of a run (its traits). Code
// elsewhere asks for a trait, never for a format by name.
#pragma once

#include <memory>
#include <string>
#include <vector>

// One value per host format; FLAVOUR= and the program's name select one.
enum class HostFormat {
    ExeXml,    // PRTG's EXE/XML sensor, the default
    Kestrel,   // PRTG's XML, profile at the named place
    Pinewood,  // "Message." / "Statistic." text
    Juniper,   // "> name: value" text
    Bramble,   // PRTG's XML, profile at the named place
    Nagios,    // a monitoring plugin's status line
    Checkmk,   // Checkmk local check lines
    ScriptV2,  // PRTG Script v2 JSON (PRTG's Multi-Platform Probe)
    Prometheus,  // Prometheus text format (node_exporter's textfile collector)
};

struct RunSettingsRecord;
class ReportWriter;
// Makes the writer of a run's report in the format (output/).
using ReportWriterMaker = std::unique_ptr<ReportWriter> (*)(const RunSettingsRecord& settings);

struct HostFormatTraits {
    HostFormat Format = HostFormat::ExeXml;
    const char* Name = "";                // as FLAVOUR= takes it (any letter case) and messages show it
    const char* ProgramPrefix = nullptr;  // a program name that selects the format without FLAVOUR=, upper-cased
    ReportWriterMaker MakeWriter = nullptr;
    // The document is PRTG's XML: anything but one well-formed document makes
    // PRTG's parser refuse it, so a fault comes as an error document there.
    bool PrtgXml = false;
    // Streams a listing: each system's channel as it is measured, the summary
    // at the end (PRTG's documents, the plugin's status line); the others are
    // written once from the whole report.
    bool StreamsSystems = false;
    // The profile is opened where the command line names it, not looked for in
    // the host's custom-sensor directory (EXEXML's discovery).
    bool ProfileAtNamedPlace = false;
    // A listing goes on past a failed probe or a database that is not Oracle,
    // so that the host learns of every system; PRTG's flavours end the run there.
    bool GoesOnPastFailedSystem = false;
    // Names profiles by machine paths ("/etc/spacewarden/PRD").
    bool MachinePaths = false;
    // Writes the console lines of the verbose marks ("#", "@", "$", "%").
    bool VerboseLines = false;
    // A monitoring plugin: its command line is the plugin's (standard options,
    // whole words, usage errors), its console lines follow its status line.
    bool PluginCommandLine = false;
    // A library that cannot be loaded or used says why (Error 1016), apart
    // from a system that does not answer; the PRTG flavours keep their texts.
    bool NamesLibraryFaults = false;
    // -v warns of a profile with a password that others can read.
    bool WarnsOfOpenProfiles = false;
    // Judges the values against WARN=, CRIT= and CH=.
    bool JudgesThresholds = false;
    // Takes STATE=P: the host judges the metrics by their levels.
    bool HostLevels = false;
    // Writes its document to the file --textfile names.
    bool Textfile = false;
    // Shows counts with thousands marks in its text ("1.234").
    bool GroupsDigits = false;
    // The library's fatal report, unless verbose, is its error document rather
    // than console lines, which its host cannot read.
    bool QuietFatalReport = false;
};

// The traits of a format.
const HostFormatTraits& TraitsOf(HostFormat format);

// Every format, in the table's order (tests and fuzzing harnesses go through them all).
std::vector<HostFormat> AllHostFormats();

// The name FLAVOUR= takes (any letter case) and messages show: "EXEXML", "Checkmk".
std::string HostFormatName(HostFormat format);

// The format FLAVOUR= names, compared without regard to letter case; false for an unknown name.
bool FindHostFormat(const std::string& name, HostFormat& format);

// The format without FLAVOUR=, by the program's file name: "check_..." is a
// monitoring plugin (Nagios), "spacewarden_local..." a Checkmk local check,
// any other name PRTG's EXE/XML sensor.
HostFormat DefaultHostFormat(const std::string& programPath);

// The first format of the table with the trait: the one that --textfile
// selects (Textfile), the one a plugin's command line is read for (PluginCommandLine).
HostFormat FirstFormatWith(bool HostFormatTraits::*trait);

// The writers' makers, each defined beside its writer in output/.
std::unique_ptr<ReportWriter> MakePrtgXmlWriter(const RunSettingsRecord& settings);
std::unique_ptr<ReportWriter> MakePinewoodWriter(const RunSettingsRecord& settings);
std::unique_ptr<ReportWriter> MakeJuniperWriter(const RunSettingsRecord& settings);
std::unique_ptr<ReportWriter> MakePluginWriter(const RunSettingsRecord& settings);
std::unique_ptr<ReportWriter> MakeCheckmkWriter(const RunSettingsRecord& settings);
std::unique_ptr<ReportWriter> MakeScriptV2Writer(const RunSettingsRecord& settings);
std::unique_ptr<ReportWriter> MakePrometheusWriter(const RunSettingsRecord& settings);
