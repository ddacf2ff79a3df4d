// Start-up from a command line made of the input: the input is cut at NUL
// bytes into the arguments after the program's name (at most three, as PRTG
// passes them), and the sensor runs as PRTG starts it, in the sensor directory
// of a simulated installation with the example profiles, the global listing,
// the item profile and the hint file, against rfcsim's example systems.
// Every run ends with exit code 0, 1 or 2 (0 to 3 as a monitoring plugin) and
// a document within its room; without a verbose option, in an XML flavour PRTG
// reads its whole output as one <Prtg> document, and in the flavour Nagios it
// begins with a status line of the state the exit code gives (but --help and
// --version); Checkmk, Script v2 and Prometheus read their documents.
// Command lines longer than 1024 bytes are left out: PRTG's parameter field
// is shorter, and the readers behind them are fuzzed on their own.
#include <algorithm>
#include <cstdio>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "HostChecks.h"
#include "config/PluginCommandLine.h"
#include "config/RunSettings.h"
#include "output/StandardOutput.h"
#include "rfc/RfcErrors.h"
#include "run/Startup.h"

namespace {

constexpr std::size_t LongestCommandLine = 1024;

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string drives = MakeScratchDirectory() + "/drives";
    const std::filesystem::path examples = SPACEWARDEN_EXAMPLES;
    const std::string sensorDirectory = drives + "/d/Apps/PRTG Network Monitor/Custom Sensors/ExeXml";
    for (const char* name : {"PRD.P00", "QAS.P00", "DEV.P00", "SAP Overseer.Gbl", "Overseer.Prf"})
        WriteScratchFile(sensorDirectory + "/" + name, ReadWhole(examples / name));
    WriteScratchFile(drives + "/c/PRTG_Path.Txt", "D:\\Apps\\\r\n");
    SetInputDirectory(sensorDirectory);

    setenv("SPACEWARDEN_RFC_LIBRARY", RFCSIM_LIBRARY, 1);
    setenv("RFCSIM_SCENARIO", (examples / "systems.scenario").c_str(), 1);
    unsetenv("RFCSIM_JOURNAL");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > LongestCommandLine) return -1;  // not kept in the corpus
    InputDirectory inputDirectory;
    ResetSensorRecords();
    // What a run leaves in the sensor directory, so that each input meets the same files.
    for (const char* left : {"SpaceWarden.log", "SapRfc.ini", RfcTraceFile}) std::filesystem::remove(left);

    std::vector<std::string> arguments = SplitInput(data, size, '\0', 3);
    // --textfile writes where it is told: only into the sensor directory here.
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i].rfind("--textfile", 0) != 0) continue;
        const std::string target = arguments[i].size() > 10 ? arguments[i].substr(10)
                                   : i + 1 < arguments.size() ? arguments[i + 1] : "";
        if (target.find_first_of("/\\") != std::string::npos || target.find(':') != std::string::npos) return -1;
    }
    std::size_t count = 1 + (size > 0) + std::count(data, data + size, std::uint8_t{0});
    if (count > 4) count = 4;
    std::vector<char*> argv = {const_cast<char*>("SpaceWarden.exe")};
    for (std::size_t i = 1; i < count; ++i) argv.push_back(arguments[i - 1].data());
    argv.push_back(nullptr);

    // As main ends the process, with the exit code the host reads; the run's
    // settings tell the format it was written in.
    RunSettingsRecord settings;
    const int exitCode = ExitCodeOf([&] { RunSensor(static_cast<int>(count), argv.data(), settings); });
    const HostFormatTraits& host = settings.Host();
    Expect(exitCode >= 0 && exitCode <= (host.PluginCommandLine ? 3 : 2), "an exit code of 0, 1 or 2 (3 for a plugin)");
    const std::string output = TakeStandardOutput();
    // --help and --version answer with the program's version line and UNKNOWN.
    const bool helpOrVersion = exitCode == 3 && output.rfind(PluginVersionLine(argv[0]), 0) == 0;
    // Console lines belong to the output only where the host takes them after its status line.
    const bool consoleLines = settings.VerboseMode && !host.PluginCommandLine;
    if (!consoleLines && !helpOrVersion && settings.TextfilePath.empty()) {
        const std::string problem = HostReadingProblem(settings.HostFlavour, output, exitCode);
        if (!problem.empty()) std::fprintf(stderr, "output: %s\nproblem: %s\n", output.c_str(), problem.c_str());
        Expect(problem.empty(), "an output that the format's host reads");
    }
    return 0;
}
