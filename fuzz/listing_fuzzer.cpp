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

    RunSettingsRecord settings;
    settings.ProfileName = itemProfile ? ItemProfileName : GlobalListingName;
    settings.ProfileDirectory = "";
    settings.ProfilePath = settings.ProfileName;
    settings.ParameterTextAsGiven = options;
    settings.ParameterText = UpperAscii(options);
    settings.Argument2 = options;
    settings.GlobalMode = true;
    if (itemProfile) settings.ItemIdentification = "Critical_Spaces";
    WriteScratchFile(settings.ProfileName, pieces[1]);

    TextFile profileFile;
    const std::string fault = ReadGlobalListing(settings, profileFile);
    Expect(fault.empty() || fault.rfind("Error 10", 0) == 0, "a listing fault of the 1000s");
    Expect(settings.ServerListing.size() <= size, "a server listing made only of the listing's lines");
    Expect(settings.ItemIdentification.size() <= ItemRoom, "an item of at most 90 characters");
    if (fault.empty()) {
        Expect(!settings.ServerListing.empty(), "an accepted listing names systems");
        Expect(settings.LabelKind >= '1' && settings.LabelKind <= '4', "a label kind of 1 to 4");
    }
    return 0;
}
