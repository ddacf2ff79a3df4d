// The option TIMEOUT= and the text of a passed deadline.
#include <doctest/doctest.h>

#include <string>

#include "config/RunSettings.h"
#include "config/TimeoutOption.h"
#include "output/Deadline.h"

TEST_CASE("TIMEOUT= gives the deadline in seconds, 55 without it, and refuses anything but 0 to 3600") {
    struct Case {
        const char* options;
        unsigned seconds;   // when valid
        const char* error;  // empty when valid
    };
    const Case cases[] = {
        {"", 55, ""},
        {"FLAVOUR=Kestrel", 55, ""},
        {"TIMEOUT=0", 0, ""},
        {"timeout=30", 30, ""},
        {"TIMEOUT=3600", 3600, ""},
        {"TIMEOUT=0055,CH=2", 55, ""},
        {"ora1 TIMEOUT=7 #", 7, ""},
        {"XTIMEOUT=9", 9, ""},  // keywords count inside other words
        {"TIMEOUT=3601", 0, "Error 1009: Invalid TIMEOUT=3601 !"},
        {"TIMEOUT=99999999999999999999", 0, "Error 1009: Invalid TIMEOUT=99999999999999999999 !"},
        {"TIMEOUT=", 0, "Error 1009: Invalid TIMEOUT= !"},
        {"TIMEOUT= 5", 0, "Error 1009: Invalid TIMEOUT= !"},
        {"TIMEOUT=,FLAVOUR=Kestrel", 0, "Error 1009: Invalid TIMEOUT= !"},
        {"timeout=1m", 0, "Error 1009: Invalid TIMEOUT=1m !"},
        {"TIMEOUT=-5", 0, "Error 1009: Invalid TIMEOUT=-5 !"},
        {"TIMEOUT=+5", 0, "Error 1009: Invalid TIMEOUT=+5 !"},
        {"TIMEOUT=5.5", 0, "Error 1009: Invalid TIMEOUT=5.5 !"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.options);
        RunSettingsRecord settings;
        settings.ParameterTextAsGiven = c.options;
        settings.ParameterText = UpperAscii(c.options);
        CHECK(SelectDeadline(settings) == c.error);
        if (*c.error == '\0') CHECK(settings.DeadlineSeconds == c.seconds);
    }
}

TEST_CASE("the text of a passed deadline names the system and the seconds") {
    CHECK(DeadlineErrorText("PRD", 55) == "Error 1019: RFC-Timeout for PRD after 55 s !");
    CHECK(DeadlineErrorText("SAP Overseer.Gbl", 2) == "Error 1019: RFC-Timeout for SAP Overseer.Gbl after 2 s !");
}
