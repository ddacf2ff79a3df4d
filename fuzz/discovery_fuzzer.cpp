// The hint file C:\PRTG_Path.Txt of arbitrary bytes leads the discovery of the
// sensor directory over drives laid out as PRTG installs itself. The first
// byte of the input chooses the profile's name, the rest is the hint file.
// The outcome is the profile opened in a sensor directory, the profile
// missing, or the path refused; never a profile outside an EXEXML folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "config/RunSettings.h"
#include "config/SensorDirectory.h"
#include "platform/Files.h"

namespace {

std::string Drives;

const char* const ProfileNames[] = {"PRD.P00", "SAP Overseer.Gbl", "Overseer.Prf", "prd.p00", "QAS.P00"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Drives = MakeScratchDirectory() + "/drives";
    const std::string profile = "User.......: OPERATOR\n";
    WriteScratchFile(Drives + "/d/Apps/PRTG Network Monitor/Custom Sensors/ExeXml/PRD.P00", profile);
    WriteScratchFile(Drives + "/d/Apps/PRTG Network Monitor/Custom Sensors/ExeXml/SAP Overseer.Gbl", "");
    WriteScratchFile(Drives + "/d/Apps/Custom Sensors/ExeXml/Overseer.Prf", "");
    WriteScratchFile(Drives + "/c/Program Files/PRTG Network Monitor/Custom Sensors/ExeXml/PRD.P00", profile);
    WriteScratchFile(Drives + "/c/Program Files (x86)/PRTG Network Monitor/Custom Sensors/ExeXml/QAS.P00", profile);
    WriteScratchFile(Drives + "/e/Profiles/PRD.P00", profile);
    WriteScratchFile(Drives + "/e/Profiles/QAS.P00", profile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputDirectory inputDirectory;
    ResetSensorRecords();
    const std::size_t choice = size > 0 ? data[0] % (sizeof ProfileNames / sizeof ProfileNames[0]) : 0;
    const std::string hint = size > 0 ? std::string(reinterpret_cast<const char*>(data) + 1, size - 1) : "";
    WriteScratchFile(Drives + "/c/PRTG_Path.Txt", hint);
    RunSettingsRecord settings;
    settings.ProfileName = ProfileNames[choice];

    TextFile profileFile;
    const std::string fault = DiscoverSensorDirectory(settings, profileFile);
    const bool missing = fault.rfind("Error 1002: ", 0) == 0;
    Expect(fault.empty() || missing || fault == "Sorry, invalid Path-Usage...", "a discovery outcome of its own");
    if (fault.empty()) {
        Expect(profileFile.IsOpen(), "a discovered profile is open");
        Expect(IsSensorDirectory(settings.ProfileDirectory), "a discovered profile lies in an EXEXML folder");
        Expect(settings.ProfilePath == settings.ProfileDirectory + settings.ProfileName,
               "the profile's path is its directory and name");
    } else {
        Expect(!profileFile.IsOpen(), "a refused profile is closed");
    }
    return 0;
}
