// The readers meet files written by hand: whatever bytes they hold, a reader
// ends with a value or a fault text and never reads or writes out of bounds.
#include <doctest/doctest.h>

#include <cstdio>
#include <random>
#include <string>

#include "ConfigTestFiles.h"
#include "config/GlobalListing.h"
#include "config/Password.h"
#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "rfc/RfcErrors.h"

namespace {

// Bytes biased towards what the readers look for, so that keys, tags and line
// ends occur often enough to reach the deeper branches.
std::string ArbitraryText(std::mt19937& random) {
    static const std::string pieces[] = {
        "Password...: ", "User.......: ", "Client.....: ", "# GSNG: ", "# GSNX: ", "# Gsng: ",
        "Sensor=\"SAP SpaceWarden\"", "Item=", ",Alias", "ERROR ", "**** ERROR ", "======> ",
        "\r\n", "\n", "\r", "\x1a", "#", ":", " ", std::string(1, '\0'),
    };
    std::string text;
    std::uniform_int_distribution<int> count(0, 60), pick(0, 24), byte(0, 255), length(0, 250);
    for (int n = count(random); n > 0; --n) {
        int choice = pick(random);
        if (choice < 20)
            text += pieces[choice];
        else if (choice < 23)
            text.push_back(static_cast<char>(byte(random)));
        else
            text.append(static_cast<std::size_t>(length(random)), static_cast<char>('A' + choice));
    }
    return text;
}

}  // namespace

TEST_CASE("readers survive arbitrary files") {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        std::string content = ArbitraryText(random);
        CAPTURE(round);

        ScratchFile profile("arbitrary.P00", content);
        TextFile file;
        REQUIRE(file.Open(profile.Name()));
        LogonEntriesRecord entries;
        std::string fault = ReadSystemProfile(entries, file, "X.P00");
        CHECK((fault.empty() || fault.rfind("Error 100", 0) == 0));
        REQUIRE(file.Open(profile.Name()));
        ReadListedProfile(entries, file);

        std::string password;
        DecodePassword(content.substr(0, 30), password);
        CHECK(password.size() <= PasswordBodyLength);

        RunSettingsRecord settings;
        settings.ProfileName = "SAP Overseer.Gbl";
        settings.ProfilePath = profile.Name();
        settings.ParameterText = "ORA1";
        TextFile unused;
        std::string listingFault = ReadGlobalListing(settings, unused);
        CHECK((listingFault.empty() || listingFault.rfind("Error 10", 0) == 0));

        REQUIRE(WriteFileBytes(RfcTraceFile, content));
        const std::string hint = TraceHint();
        CHECK(hint.rfind(" - ", 0) == 0);
        CHECK(hint.size() <= 3 + 87);
    }
    std::remove(RfcTraceFile);
}
