#include "run/Startup.h"

#include <algorithm>
#include <string>
#include <vector>

#include "config/Credentials.h"
#include "config/GlobalListing.h"
#include "config/ParallelOption.h"
#include "config/PluginCommandLine.h"
#include "config/ProfileLocation.h"
#include "config/RunSettings.h"
#include "config/SensorDirectory.h"
#include "config/Thresholds.h"
#include "config/TimeoutOption.h"
#include "output/Deadline.h"
#include "output/RunContext.h"
#include "output/RunDocument.h"
#include "output/StandardOutput.h"
#include "platform/EventLog.h"
#include "platform/Files.h"
#include "platform/Time.h"
#include "run/MultiSystemRun.h"
#include "run/RunEnd.h"
#include "run/SingleSystemRun.h"

namespace {

void EndIfFailed(const std::string& errorText) {
    if (!errorText.empty()) EndWithErrorDocument(errorText);
}

// A usage error of the monitoring plugin: its status line, then the short usage.
[[noreturn]] void EndWithUsageError(const RunSettingsRecord& settings, const std::string& errorText) {
    WriteErrorDocument(errorText);
    WriteOutLine(PluginUsageLine(settings.ProgramPath));
    EndProcess(2);
}

// An option the run cannot use: for the monitoring plugin a usage error.
void EndIfOptionFailed(const RunSettingsRecord& settings, const std::string& errorText) {
    if (errorText.empty()) return;
    if (settings.WholeWordOptions && settings.Host().PluginCommandLine) EndWithUsageError(settings, errorText);
    EndWithErrorDocument(errorText);
}

void TakeCommandLine(RunSettingsRecord& settings, int argc, char** argv) {
    settings.ProfileName = argv[1];
    std::string options = argc > 2 ? argv[2] : "";
    if (argc > 3) options += std::string(" ") + argv[3];
    settings.Argument2 = argc > 2 ? argv[2] : "";
    settings.ParameterTextAsGiven = options;
    settings.ParameterText = UpperAscii(options);
}

// The monitoring plugin's command line, standard options and keyword form,
// into the settings; --help and --version end the run here with UNKNOWN, as
// the monitoring-plugins' own plugins do.
void TakePluginCommandLine(RunSettingsRecord& settings, int argc, char** argv) {
    // Its own errors are status lines.
    settings.HostFlavour = FirstFormatWith(&HostFormatTraits::PluginCommandLine);
    const PluginCommandLine line = ReadPluginCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.Request) {
        case PluginRequest::Help:
            WriteOut(PluginHelpText(settings.ProgramPath));
            EndProcess(2);
        case PluginRequest::Version:
            WriteOutLine(PluginVersionLine(settings.ProgramPath));
            EndProcess(2);
        case PluginRequest::UsageError: EndWithUsageError(settings, line.Error);
        case PluginRequest::Run: break;
    }
    if (line.ProfileName.empty()) EndWithUsageError(settings, "Error 1001: Parameter for Profile-Name is missing !");
    settings.ProfileName = line.ProfileName;
    settings.Argument2 = line.ListingKey;
    settings.ParameterTextAsGiven = line.Options;
    settings.ParameterText = UpperAscii(line.Options);
    settings.WholeWordOptions = true;
    settings.VerboseMode = line.Verbose;
}

void TakeItemOption(RunSettingsRecord& settings) {
    if (!settings.Has("ITEM=")) return;
    std::string item = settings.ValueAt("ITEM=", ItemRoom, " ,");
    std::replace(item.begin(), item.end(), ':', ' ');
    settings.ItemIdentification = item;
    settings.GlobalMode = true;
    settings.ProfileName = ItemProfileName;
}

// "--textfile DIR" (or "--textfile=DIR") anywhere on the command line: the
// Prometheus text goes to DIR/spacewarden.prom, or to the file named when it
// ends in ".prom". Taken out of the arguments before they are read.
std::vector<char*> WithoutTextfileOption(int argc, char** argv, std::string& textfile, bool& valueMissing) {
    std::vector<char*> kept;
    for (int at = 0; at < argc; ++at) {
        const std::string argument = argv[at] ? argv[at] : "";
        if (at > 0 && argument == "--textfile") {
            if (at + 1 >= argc || argv[at + 1] == nullptr) valueMissing = true;
            else textfile = argv[++at];
            continue;
        }
        if (at > 0 && argument.rfind("--textfile=", 0) == 0) {
            textfile = argument.substr(11);
            valueMissing = textfile.empty();
            continue;
        }
        kept.push_back(argv[at]);
    }
    kept.push_back(nullptr);
    return kept;
}

std::string TextfilePathOf(const std::string& given) {
    const std::string ending = ".prom";
    if (given.size() > ending.size() && given.compare(given.size() - ending.size(), ending.size(), ending) == 0)
        return given;
    return given + (given.back() == '/' || given.back() == '\\' ? "" : "/") + "spacewarden.prom";
}

// What the hosts that read a whole report name the run by.
std::string ReportSubject(const RunSettingsRecord& settings) {
    if (settings.GlobalMode)
        return settings.ItemIdentification.empty() ? "listing" : "listing " + settings.ItemIdentification;
    return SystemNameWithoutExtension(settings.ProfileName);
}

// The report as far as start-up knows the run, published for an error that ends it.
RunReport BegunReport(const RunSettingsRecord& settings) {
    RunReport report;
    report.MultiSystem = settings.GlobalMode;
    report.Item = settings.ItemIdentification;
    report.Subject = ReportSubject(settings);
    PublishReport(report);
    return report;
}

bool VerboseRequested(const RunSettingsRecord& settings) {
    return settings.ParameterText.find_first_of("#@$%") != std::string::npos;
}

// The command line of PRTG's flavours and the formats that follow them:
// argument 1 the profile, arguments 2 and 3 the options, --textfile anywhere.
void TakeKeywordCommandLine(RunSettingsRecord& settings, int argc, char** argv, std::string& textfile) {
    bool textfileMissing = false;
    std::vector<char*> arguments = WithoutTextfileOption(argc, argv, textfile, textfileMissing);
    argc = static_cast<int>(arguments.size()) - 1;
    argv = arguments.data();
    // Errors of a Prometheus job go where its host reads them: the text file.
    if (!textfile.empty()) {
        settings.HostFlavour = FirstFormatWith(&HostFormatTraits::Textfile);
        settings.TextfilePath = TextfilePathOf(textfile);
    }
    if (textfileMissing) {
        // Said in the form the command line selects: the Prometheus text
        // (on standard output, with no file to write), unless FLAVOUR= names another.
        settings.HostFlavour = FirstFormatWith(&HostFormatTraits::Textfile);
        if (argc >= 2 && argv[1] != nullptr) {
            TakeCommandLine(settings, argc, argv);
            if (settings.Has("FLAVOUR=") && !SelectHostFlavour(settings).empty())
                settings.HostFlavour = DefaultHostFormat(settings.ProgramPath);
            BegunReport(settings);  // the system the run was for, in the hosts that name it
        }
        EndWithErrorDocument("Error 1009: Option --textfile needs a folder !");
    }
    if (argc < 2 || argv[1] == nullptr) EndWithErrorDocument("Error 1001: Parameter for Profile-Name is missing !");
    TakeCommandLine(settings, argc, argv);
}

}  // namespace

void RunSensor(int argc, char** argv, RunSettingsRecord& settings) {
    // The settings of the run: filled here, then handed on unchanged. The run's
    // endings (the error document, the fatal report, the deadline) reach them.
    settings = RunSettingsRecord{};
    RunContext.Settings = &settings;
    settings.TraceLine = "* " + TimeOfDay() + " SAP " + ProgramName + " " + VersionText;
    // Errors before the options are read answer in the form the program's name asks for.
    settings.ProgramPath = argc > 0 && argv[0] ? argv[0] : "";
    settings.HostFlavour = DefaultHostFormat(settings.ProgramPath);

    const bool plugin = argc > 0 && CommandLineIsPlugin(settings.ProgramPath,
                                                        std::vector<std::string>(argv + 1, argv + argc));
    std::string textfile;
    if (plugin)
        TakePluginCommandLine(settings, argc, argv);
    else
        TakeKeywordCommandLine(settings, argc, argv, textfile);
    TakeItemOption(settings);
    ResolveProfileName(settings);

    const std::string flavourFault = SelectHostFlavour(settings);
    if (!textfile.empty() && !settings.Has("FLAVOUR="))
        settings.HostFlavour = FirstFormatWith(&HostFormatTraits::Textfile);
    // Another flavour, or an unknown one, answers on standard output in its own form.
    if (!settings.Host().Textfile) settings.TextfilePath.clear();
    EndIfFailed(flavourFault);
    if (!textfile.empty() && !settings.Host().Textfile)
        EndWithErrorDocument("Error 1009: Option --textfile is for FLAVOUR=Prometheus !");
    // The flavour the command line was read for, also when its FLAVOUR=Nagios
    // was taken for an option's value ("-w FLAVOUR=Nagios"), which the range then refuses.
    if (plugin) settings.HostFlavour = FirstFormatWith(&HostFormatTraits::PluginCommandLine);
    EndIfOptionFailed(settings, SelectDeadline(settings));
    EndIfOptionFailed(settings, SelectCredentialSource(settings, settings.Credentials));
    EndIfOptionFailed(settings, SelectParallelSystems(settings));
    // The command line's, in a listing run too: the host's sensor or service says what it wants named.
    EndIfOptionFailed(settings, SelectCriticalNames(settings));
    WantEventLog(settings.Has(",SYSLOG"));
    // From here on a run that waits too long ends with Error 1019: the
    // deadline counts from the start of the process.
    UpdateDeadlineNotice(settings.ProfileName);
    ArmDeadline(settings.DeadlineSeconds);

    // The plugin's -v; PRTG's console marks mean nothing to a monitoring plugin,
    // nor to a host that reads one whole document.
    if (!plugin) settings.VerboseMode = VerboseRequested(settings) && settings.Host().VerboseLines;
    // A monitoring plugin's host takes the first line for the status: the
    // console lines follow the status line.
    if (settings.Host().PluginCommandLine && settings.VerboseMode) HoldConsoleLines();

    SplitProfileDirectory(settings);
    UpdateDeadlineNotice(settings.ProfileName);
    // Known now: whether the run is a multi-system run, which CH= depends on.
    BegunReport(settings);
    if (settings.Host().JudgesThresholds)
        EndIfOptionFailed(settings, SelectThresholds(settings, settings.GlobalMode, settings.Host().HostLevels));
    // With "@" the discovery is skipped, so the profile is taken where the
    // command line names it, as for the other flavours.
    TextFile profile;
    const bool atNamedPlace = settings.Host().ProfileAtNamedPlace || settings.Has("@");
    if (atNamedPlace)
        EndIfFailed(OpenProfileAtNamedPlace(settings, profile));
    else
        EndIfFailed(DiscoverSensorDirectory(settings, profile));

    if (!settings.GlobalMode) {
        // A profile that opened but cannot be read ends the run as one that did
        // not open; the discovery's other candidates are not tried again.
        const std::string profileMissing =
            ProfileMissingText(atNamedPlace ? settings.ProfilePath : settings.ProfileName);
        SingleSystemRun(settings, profile, profileMissing, BegunReport(settings));
    }

    EndIfFailed(ReadGlobalListing(settings, profile));
    // In listing mode the sensor entry's options have taken the place of the command line's.
    settings.ParameterText = UpperAscii(settings.ParameterTextAsGiven);
    WantEventLog(settings.Has(",SYSLOG"));
    MultiSystemRun(settings, BegunReport(settings));
}
