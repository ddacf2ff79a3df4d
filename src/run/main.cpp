#include <string>

#include "output/StandardOutput.h"
#include "platform/Watchdog.h"
#include "run/Startup.h"
#include "run/Worker.h"
#include "run/WorkerMessages.h"

int main(int argc, char** argv) {
    // The deadline of the run counts from here.
    MarkProcessStart();
    // Before any file is opened, so that none takes the place of a closed standard stream.
    StartStandardOutput();
    // A multi-system run checks its systems in workers: this program again.
    if (argc == 2 && argv[1] && std::string(argv[1]) == WorkerModeArgument) return RunWorker();
    // Every path of the run ends the process through the same check of standard output.
    RunSettingsRecord settings;
    RunSensor(argc, argv, settings);
}
