// A system profile of arbitrary bytes, read by the single-system reader and
// by the reader of a listed system: each ends with a value or a fault text,
// and no value is longer than its column allows.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "config/Password.h"
#include "config/SystemProfile.h"
#include "platform/Files.h"

namespace {

void ExpectEntriesWithinRoom(const LogonEntriesRecord& entries, bool accepted) {
    Expect(entries.Password.size() <= PasswordBodyLength, "a decoded password of at most 20 characters");
    for (const ProfileEntryRule& rule : ProfileEntryRules()) {
        const std::string& value = entries.*rule.Entry;
        Expect(value.size() <= ProfileValueLimit, "a profile value of at most 60 characters");
        if (accepted) Expect(value.size() <= rule.Room, "an accepted value within its room");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputDirectory inputDirectory;
    ResetSensorRecords();
    WriteScratchFile("PRD.P00", std::string(reinterpret_cast<const char*>(data), size));

    TextFile profile;
    Expect(profile.Open("PRD.P00"), "the scratch profile opens");
    LogonEntriesRecord single;
    const std::string fault = ReadSystemProfile(single, profile, "PRD.P00");
    Expect(fault.empty() || fault.rfind("Error 100", 0) == 0, "a profile fault of the 1000s");
    ExpectEntriesWithinRoom(single, fault.empty());

    LogonEntriesRecord listed;
    Expect(profile.Open("PRD.P00"), "the scratch profile opens again");
    const bool listedFault = ReadListedProfile(listed, profile);
    ExpectEntriesWithinRoom(listed, !listedFault);
    return 0;
}
