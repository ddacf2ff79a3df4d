#include "run/Startup.h"

#include <algorithm>
#include <vector>

#include "config/Credentials.h"
#include "config/GlobalListing.h"
#include "config/Password.h"
#include "config/ParallelOption.h"
#include "config/PluginCommandLine.h"
#include "config/ProfileLocation.h"
#include "config/RunSettings.h"
#include "config/SensorDirectory.h"
#include "config/SystemProfile.h"
#include "config/Thresholds.h"
#include "config/TimeoutOption.h"
#include "output/Channel.h"
#include "output/Deadline.h"
#include "output/PluginStatus.h"
#include "output/ReportOutput.h"
#include "output/ResultDocument.h"
#include "output/StandardOutput.h"
#include "platform/EventLog.h"
#include "platform/Time.h"
#include "run/MultiSystemRun.h"
#include "run/RunEnd.h"
#include "run/SingleSystemRun.h"

TextFile ProfileFile;
std::string ProfileMissing;

namespace {

void EndIfFailed(const std::string& errorText) {
    if (!errorText.empty()) EndWithErrorDocument(errorText);
}

[[noreturn]] void EndWithUsageError(const std::string& errorText);

// An option the run cannot use: for the monitoring plugin a usage error.
void EndIfOptionFailed(const std::string& errorText) {
    if (errorText.empty()) return;
    if (RunSettings.WholeWordOptions && IsPluginFlavour()) EndWithUsageError(errorText);
    EndWithErrorDocument(errorText);
}

void TakeCommandLine(int argc, char** argv) {
    RunSettings.ProfileName = argv[1];
    std::string options = argc > 2 ? argv[2] : "";
    if (argc > 3) options += std::string(" ") + argv[3];
    RunSettings.Argument2 = argc > 2 ? argv[2] : "";
    RunSettings.ParameterTextAsGiven = options;
    RunSettings.ParameterText = UpperAscii(options);
}

// A usage error of the monitoring plugin: its status line, then the short usage.
[[noreturn]] void EndWithUsageError(const std::string& errorText) {
    WriteErrorDocument(errorText);
    WriteDocument();
    WriteOutLine(PluginUsageLine(RunSettings.ProgramPath));
    EndProcess(2);
}

// The monitoring plugin's command line, standard options and keyword form,
// into the settings; --help and --version end the run here with UNKNOWN, as
// the monitoring-plugins' own plugins do.
void TakePluginCommandLine(int argc, char** argv) {
    RunSettings.HostFlavour = HostFormat::Nagios;  // its own errors are status lines
    const PluginCommandLine line = ReadPluginCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.Request) {
        case PluginRequest::Help:
            WriteOut(PluginHelpText(RunSettings.ProgramPath));
            EndProcess(2);
        case PluginRequest::Version:
            WriteOutLine(PluginVersionLine(RunSettings.ProgramPath));
            EndProcess(2);
        case PluginRequest::UsageError: EndWithUsageError(line.Error);
        case PluginRequest::Run: break;
    }
    if (line.ProfileName.empty()) EndWithUsageError("Error 1001: Parameter for Profile-Name is missing !");
    RunSettings.ProfileName = line.ProfileName;
    RunSettings.Argument2 = line.ListingKey;
    RunSettings.ParameterTextAsGiven = line.Options;
    RunSettings.ParameterText = UpperAscii(line.Options);
    RunSettings.WholeWordOptions = true;
    RunSettings.VerboseMode = line.Verbose;
}

void TakeItemOption() {
    if (!ParameterHas("ITEM=")) return;
    std::string item = OptionValueAt("ITEM=", ItemRoom, " ,");
    std::replace(item.begin(), item.end(), ':', ' ');
    RunSettings.ItemIdentification = item;
    RunSettings.GlobalMode = true;
    RunSettings.ProfileName = ItemProfileName;
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
std::string ReportSubject() {
    if (RunSettings.GlobalMode)
        return RunSettings.ItemIdentification.empty() ? "listing" : "listing " + RunSettings.ItemIdentification;
    return SystemNameWithoutExtension(RunSettings.ProfileName);
}

RunReport BegunReport() {
    RunReport report;
    report.MultiSystem = RunSettings.GlobalMode;
    report.Item = RunSettings.ItemIdentification;
    report.Subject = ReportSubject();
    PublishReport(report);
    return report;
}

bool VerboseRequested() {
    return RunSettings.ParameterText.find_first_of("#@$%") != std::string::npos;
}

}  // namespace

int RunSensor(int argc, char** argv) {
    RunSettings.TraceLine = "* " + TimeOfDay() + " SAP " + ProgramName + " " + VersionText;
    ChannelCounter = 0;
    BuildScramblingKey();
    // Errors before the options are read answer in the form the program's name asks for.
    RunSettings.ProgramPath = argc > 0 && argv[0] ? argv[0] : "";
    RunSettings.HostFlavour = DefaultHostFormat(RunSettings.ProgramPath);

    const bool plugin = argc > 0 && CommandLineIsPlugin(RunSettings.ProgramPath,
                                                        std::vector<std::string>(argv + 1, argv + argc));
    std::string textfile;
    if (plugin) {
        TakePluginCommandLine(argc, argv);
    } else {
        bool textfileMissing = false;
        std::vector<char*> arguments = WithoutTextfileOption(argc, argv, textfile, textfileMissing);
        argc = static_cast<int>(arguments.size()) - 1;
        argv = arguments.data();
        // Errors of a Prometheus job go where its host reads them: the text file.
        if (!textfile.empty()) {
            RunSettings.HostFlavour = HostFormat::Prometheus;
            RunSettings.TextfilePath = TextfilePathOf(textfile);
        }
        if (textfileMissing) {
            // Said in the form the command line selects: the Prometheus text
            // (on standard output, with no file to write), unless FLAVOUR= names another.
            RunSettings.HostFlavour = HostFormat::Prometheus;
            if (argc >= 2 && argv[1] != nullptr) {
                TakeCommandLine(argc, argv);
                if (ParameterHas("FLAVOUR=") && !SelectHostFlavour().empty())
                    RunSettings.HostFlavour = DefaultHostFormat(RunSettings.ProgramPath);
                BegunReport();  // the system the run was for, in the hosts that name it
            }
            EndWithErrorDocument("Error 1009: Option --textfile needs a folder !");
        }
        if (argc < 2 || argv[1] == nullptr) EndWithErrorDocument("Error 1001: Parameter for Profile-Name is missing !");
        TakeCommandLine(argc, argv);
    }
    TakeItemOption();
    ResolveProfileName();

    ResetLogonEntries();
    const std::string flavourFault = SelectHostFlavour();
    if (!textfile.empty() && !ParameterHas("FLAVOUR=")) RunSettings.HostFlavour = HostFormat::Prometheus;
    // Another flavour, or an unknown one, answers on standard output in its own form.
    if (RunSettings.HostFlavour != HostFormat::Prometheus) RunSettings.TextfilePath.clear();
    EndIfFailed(flavourFault);
    if (!textfile.empty() && RunSettings.HostFlavour != HostFormat::Prometheus)
        EndWithErrorDocument("Error 1009: Option --textfile is for FLAVOUR=Prometheus !");
    // The flavour the command line was read for, also when its FLAVOUR=Nagios
    // was taken for an option's value ("-w FLAVOUR=Nagios"), which the range then refuses.
    if (plugin) RunSettings.HostFlavour = HostFormat::Nagios;
    EndIfOptionFailed(SelectDeadline());
    EndIfOptionFailed(SelectCredentialSource(RunSettings.Credentials));
    EndIfOptionFailed(SelectParallelSystems());
    WantEventLog(ParameterHas(",SYSLOG"));
    // From here on a run that waits too long ends with Error 1019: the
    // deadline counts from the start of the process.
    UpdateDeadlineNotice(RunSettings.ProfileName);
    ArmDeadline(RunSettings.DeadlineSeconds);

    // The plugin's -v; PRTG's console marks mean nothing to a monitoring plugin.
    // Nor to a host that reads one whole document.
    if (!plugin) RunSettings.VerboseMode = VerboseRequested() && !WritesWholeReport();
    // A monitoring plugin's host takes the first line for the status: the
    // console lines follow the status line.
    if (IsPluginFlavour() && RunSettings.VerboseMode) HoldConsoleLines();

    SplitProfileDirectory();
    UpdateDeadlineNotice(RunSettings.ProfileName);
    // Known now: whether the run is a multi-system run, which CH= depends on.
    BegunReport();
    // The hosts whose state the sensor judges.
    const HostFormat format = RunSettings.HostFlavour;
    if (format == HostFormat::Nagios || format == HostFormat::Checkmk || format == HostFormat::ScriptV2)
        EndIfOptionFailed(SelectThresholds(RunSettings.GlobalMode, format == HostFormat::Checkmk));
    // With "@" the discovery is skipped, so the profile is taken where the
    // command line names it, as for the other flavours.
    const bool atNamedPlace = RunSettings.HostFlavour != HostFormat::ExeXml || ParameterHas("@");
    if (atNamedPlace)
        EndIfFailed(OpenProfileAtNamedPlace(ProfileFile));
    else
        EndIfFailed(DiscoverSensorDirectory(ProfileFile));
    // A profile that opened but cannot be read ends the run as one that did
    // not open; the discovery's other candidates are not tried again.
    ProfileMissing = ProfileMissingText(atNamedPlace ? RunSettings.ProfilePath : RunSettings.ProfileName);

    if (!RunSettings.GlobalMode) return SingleSystemRun(BegunReport());

    EndIfFailed(ReadGlobalListing(ProfileFile));
    // In listing mode the sensor entry's options have taken the place of the command line's.
    RunSettings.ParameterText = UpperAscii(RunSettings.ParameterTextAsGiven);
    WantEventLog(ParameterHas(",SYSLOG"));
    MultiSystemRun(BegunReport());
}
