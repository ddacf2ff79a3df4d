// A listing's systems side by side: the option PARALLEL=, and what a run and
// its workers hand each other (a task, an answer, their frames).
#include <doctest/doctest.h>

#include <string>

#include "config/ParallelOption.h"
#include "config/RunSettings.h"
#include "rfc/Connection.h"
#include "run/WorkerMessages.h"

TEST_CASE("PARALLEL= gives the systems checked at the same time, 8 without it, and refuses anything but 1 to 64") {
    struct Case {
        const char* options;
        unsigned parallel;
        const char* error;
    };
    const Case cases[] = {
        {"", 8, ""},
        {"PARALLEL=1", 1, ""},
        {"parallel=64,CH=2", 64, ""},
        {"ora1 PARALLEL=016", 16, ""},
        {"PARALLEL=0", 8, "Error 1009: Invalid PARALLEL=0 !"},
        {"PARALLEL=65", 8, "Error 1009: Invalid PARALLEL=65 !"},
        {"PARALLEL=1000", 8, "Error 1009: Invalid PARALLEL=1000 !"},
        {"PARALLEL=", 8, "Error 1009: Invalid PARALLEL= !"},
        {"PARALLEL=-2", 8, "Error 1009: Invalid PARALLEL=-2 !"},
        {"PARALLEL=4x", 8, "Error 1009: Invalid PARALLEL=4x !"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.options);
        RunSettingsRecord settings;
        settings.ParameterTextAsGiven = c.options;
        settings.ParameterText = UpperAscii(c.options);
        CHECK(SelectParallelSystems(settings) == c.error);
        CHECK(settings.ParallelSystems == c.parallel);
    }
}

TEST_CASE("a task and an answer come through whole, whatever bytes their texts hold") {
    WorkerTask task;
    task.HostFlavour = "Nagios";
    task.Options = "ora1 CH=2,SYSLOG :x";
    task.WholeWordOptions = true;
    task.DocumentOpeningWritten = true;
    task.CarriedSystemNumber = -7;
    task.Entries.Destination = "P:R\nD";
    task.Entries.Password = std::string("a\0b:12:", 7);
    task.Entries.DisplayedHostname = "\xE4host";
    WorkerTask read;
    REQUIRE(DecodeTask(EncodeTask(task), read));
    CHECK(read.HostFlavour == task.HostFlavour);
    CHECK(read.Options == task.Options);
    CHECK(read.WholeWordOptions);
    CHECK_FALSE(read.VerboseMode);
    CHECK(read.DocumentOpeningWritten);
    CHECK(read.CarriedSystemNumber == -7);
    CHECK(read.Entries.Destination == task.Entries.Destination);
    CHECK(read.Entries.Password == task.Entries.Password);
    CHECK(read.Entries.DisplayedHostname == task.Entries.DisplayedHostname);

    WorkerAnswer answer;
    answer.Outcome = WorkerOutcome::Ended;
    answer.Values = {1, -2, 3, 2147483647, 0};
    answer.Failure = "Error 1012: Exception.: A:B - 5:x";
    answer.Console = "* SapRfc.Ini.......: PRD<\n";
    answer.ExitCode = 3;
    answer.ErrorText = "Error 1020: RFC error in RfcOpen";
    WorkerAnswer back;
    REQUIRE(DecodeAnswer(EncodeAnswer(answer), back));
    CHECK(back.Outcome == WorkerOutcome::Ended);
    CHECK(back.Values == answer.Values);
    CHECK(back.Failure == answer.Failure);
    CHECK(back.Console == answer.Console);
    CHECK(back.ExitCode == 3);
    CHECK(back.ErrorText == answer.ErrorText);
}

TEST_CASE("an answer cut short or of another kind is none: the system fails, it is never taken for measured") {
    const std::string whole = EncodeAnswer(WorkerAnswer{});
    WorkerAnswer answer;
    const std::string broken[] = {"", whole.substr(0, whole.size() - 1), whole + "1:x", "garbage", "9999999999:",
                                  EncodeTask(WorkerTask{})};
    for (const std::string& bytes : broken) {
        CAPTURE(bytes);
        CHECK_FALSE(DecodeAnswer(bytes, answer));
    }
    // An outcome beyond the known ones.
    std::string other = whole;
    const std::size_t outcome = std::string("20:SpaceWarden answer 1").size();
    REQUIRE(other.compare(outcome, 3, "1:1") == 0);  // Failed, the default
    other.replace(outcome, 3, "1:9");
    CHECK_FALSE(DecodeAnswer(other, answer));
}

TEST_CASE("frames: whole messages one after the other, nothing taken before it is whole") {
    std::string received = Framed("first") + Framed("") + Framed("x:y") + "5:par";
    std::string message;
    bool broken = false;
    const char* expected[] = {"first", "", "x:y"};
    for (const char* text : expected) {
        REQUIRE(TakeFramed(received, message, broken));
        CHECK(message == text);
    }
    CHECK_FALSE(TakeFramed(received, message, broken));
    CHECK_FALSE(broken);
    received += "ts";
    REQUIRE(TakeFramed(received, message, broken));
    CHECK(message == "parts");
    CHECK(received.empty());

    for (const char* bad : {"x:", ":abc", "12a:", "1234567890:x"}) {
        std::string bytes = bad;
        CAPTURE(bad);
        CHECK_FALSE(TakeFramed(bytes, message, broken));
        CHECK(broken);
    }
}

TEST_CASE("an opening without a system number keeps the one before it, as the workers carry it in listing order") {
    struct Case {
        const char* mode;
        const char* sysnr;
        const char* options;
        int after;  // with 3 before
    };
    const Case cases[] = {
        {"R/3", "07", "", 7},
        {"R/3", "", "", 3},
        {"R/2", "09", "", 3},  // R/2 logs on through the gateway
        {"R/3", "", "ora1,NO=12", 12},
    };
    for (const Case& c : cases) {
        CAPTURE(c.sysnr);
        RunSettingsRecord settings;
        settings.ParameterTextAsGiven = c.options;
        settings.ParameterText = UpperAscii(c.options);
        LogonEntriesRecord entries{};
        entries.Mode = std::string(c.mode);
        entries.Sysnr = std::string(c.sysnr);
        CHECK(SystemNumberAfterOpening(entries, settings, 3) == c.after);
    }
}
