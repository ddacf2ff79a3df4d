#include "output/StandardOutput.h"
#include "platform/Watchdog.h"
#include "run/Startup.h"

int main(int argc, char** argv) {
    // The deadline of the run counts from here.
    MarkProcessStart();
    // Before any file is opened, so that none takes the place of a closed standard stream.
    StartStandardOutput();
    // The quiet success ends through the same check of standard output as every other path.
    EndProcess(RunSensor(argc, argv));
}
