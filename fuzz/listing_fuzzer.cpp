// A global listing or an item profile of arbitrary bytes. The first line of
// the input is the sensor's option text (its key), the rest the file; the
// first byte of the option line chooses the item profile when it is "*".
// Every outcome is a value or a fault text of the 1000s, the server listing
// holds only what the listing lines carried, and the item fits its room.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "config/GlobalListing.h"
#include "config/ProfileLocation.h"
#include "config/RunSettings.h"
#include "platform/Files.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputDirectory inputDirectory;
    ResetSensorRecords();
    const std::vector<std::string> pieces = SplitInput(data, size, '\n', 2);
    const bool itemProfile = !pieces[0].empty() && pieces[0][0] == '*';
    const std::string options = itemProfile ? pieces[0].substr(1) : pieces[0];

    RunSettings.ProfileName = itemProfile ? ItemProfileName : GlobalListingName;
    RunSettings.ProfileDirectory = "";
    RunSettings.ProfilePath = RunSettings.ProfileName;
    RunSettings.ParameterTextAsGiven = options;
    RunSettings.ParameterText = UpperAscii(options);
    RunSettings.Argument2 = options;
    RunSettings.GlobalMode = true;
    if (itemProfile) RunSettings.ItemIdentification = "Critical_Spaces";
    WriteScratchFile(RunSettings.ProfileName, pieces[1]);

    TextFile profileFile;
    const std::string fault = ReadGlobalListing(profileFile);
    Expect(fault.empty() || fault.rfind("Error 10", 0) == 0, "a listing fault of the 1000s");
    Expect(ServerListing.size() <= size, "a server listing made only of the listing's lines");
    Expect(RunSettings.ItemIdentification.size() <= ItemRoom, "an item of at most 90 characters");
    if (fault.empty()) {
        Expect(!ServerListing.empty(), "an accepted listing names systems");
        Expect(LabelKind >= '1' && LabelKind <= '4', "a label kind of 1 to 4");
    }
    return 0;
}
