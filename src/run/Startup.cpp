#include "run/Startup.h"

#include <algorithm>

#include "config/Credentials.h"
#include "config/GlobalListing.h"
#include "config/Password.h"
#include "config/ProfileLocation.h"
#include "config/RunSettings.h"
#include "config/SensorDirectory.h"
#include "config/SystemProfile.h"
#include "config/Thresholds.h"
#include "config/TimeoutOption.h"
#include "output/Channel.h"
#include "output/Deadline.h"
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

void TakeCommandLine(int argc, char** argv) {
    RunSettings.ProfileName = argv[1];
    std::string options = argc > 2 ? argv[2] : "";
    if (argc > 3) options += std::string(" ") + argv[3];
    RunSettings.Argument2 = argc > 2 ? argv[2] : "";
    RunSettings.ParameterTextAsGiven = options;
    RunSettings.ParameterText = UpperAscii(options);
}

void TakeItemOption() {
    if (!ParameterHas("ITEM=")) return;
    std::string item = OptionValueAt("ITEM=", ItemRoom, " ,");
    std::replace(item.begin(), item.end(), ':', ' ');
    RunSettings.ItemIdentification = item;
    RunSettings.GlobalMode = true;
    RunSettings.ProfileName = ItemProfileName;
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
    RunSettings.HostFlavour = DefaultHostFlavour(RunSettings.ProgramPath);

    if (argc < 2 || argv[1] == nullptr) EndWithErrorDocument("Error 1001: Parameter for Profile-Name is missing !");
    TakeCommandLine(argc, argv);
    TakeItemOption();
    ResolveProfileName();

    ResetLogonEntries();
    EndIfFailed(SelectHostFlavour());
    EndIfFailed(SelectDeadline());
    EndIfFailed(SelectCredentialSource(RunSettings.Credentials));
    // From here on a run that waits too long ends with Error 1019: the
    // deadline counts from the start of the process.
    UpdateDeadlineNotice(RunSettings.ProfileName);
    ArmDeadline(RunSettings.DeadlineSeconds);

    RunSettings.VerboseMode = VerboseRequested();

    SplitProfileDirectory();
    UpdateDeadlineNotice(RunSettings.ProfileName);
    // Known now: whether the run is a multi-system run, which CH= depends on.
    if (RunSettings.HostFlavour == "Nagios") EndIfFailed(SelectThresholds(RunSettings.GlobalMode));
    // With "@" the discovery is skipped, so the profile is taken where the
    // command line names it, as for the other flavours.
    const bool atNamedPlace = RunSettings.HostFlavour != "EXEXML" || ParameterHas("@");
    if (atNamedPlace)
        EndIfFailed(OpenProfileAtNamedPlace(ProfileFile));
    else
        EndIfFailed(DiscoverSensorDirectory(ProfileFile));
    // A profile that opened but cannot be read ends the run as one that did
    // not open; the discovery's other candidates are not tried again.
    ProfileMissing = ProfileMissingText(atNamedPlace ? RunSettings.ProfilePath : RunSettings.ProfileName);

    if (!RunSettings.GlobalMode) return SingleSystemRun();

    EndIfFailed(ReadGlobalListing(ProfileFile));
    MultiSystemRun();
}
