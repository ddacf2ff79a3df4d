// Files that are no files, names Windows keeps for devices, and read errors.
#include <doctest/doctest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ConfigTestFiles.h"
#include "config/GlobalListing.h"
#include "config/Password.h"
#include "config/RunSettings.h"
#include "config/SystemProfile.h"
#include "platform/Files.h"
#include "rfc/RfcErrors.h"

#ifndef _WIN32
#include <cerrno>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The read of a file (descriptors above 2), counted from 1 after arming, that fails with EIO; 0: none.
int FailingRead = 0;
int ReadsSeen = 0;

void FailRead(int n) {
    FailingRead = n;
    ReadsSeen = 0;
}

}  // namespace

// Stands in for the C library's read in this test program, the way a fault
// injector does for the sensor: the sensor's own reader calls it.
extern "C" ssize_t read(int descriptor, void* into, size_t room) {
    if (FailingRead > 0 && descriptor > 2 && ++ReadsSeen == FailingRead) {
        FailingRead = 0;
        errno = EIO;
        return -1;
    }
    return syscall(SYS_read, descriptor, into, room);
}
#endif

namespace {

namespace fs = std::filesystem;

// Something under a name that is no regular file; removed when the test ends.
class ScratchEntry {
public:
    ScratchEntry(const std::string& name, const std::function<bool(const std::string&)>& make) : name_(name) {
        std::error_code error;
        fs::remove_all(name_, error);
        made_ = make(name_);
    }
    ~ScratchEntry() {
        std::error_code error;
        fs::remove_all(name_, error);
    }
    ScratchEntry(const ScratchEntry&) = delete;
    ScratchEntry& operator=(const ScratchEntry&) = delete;
    bool Made() const { return made_; }

private:
    std::string name_;
    bool made_;
};

bool MakeDirectory(const std::string& name) { return fs::create_directory(name); }

struct NoFile {
    const char* what;
    std::string name;
    std::function<bool(const std::string&)> make;  // null: the name needs nothing made
    const char* why;  // what a failed opening says of it
};

std::vector<NoFile> NoFiles() {
    std::vector<NoFile> entries = {{"a directory", "sw_files_directory", MakeDirectory, "is a directory"}};
#ifdef _WIN32
    for (const char* device : {"NUL", "con.P00", "Aux.txt", "COM1", "lpt1.log"})
        entries.push_back({device, device, {}, ""});
#else
    entries.push_back({"a FIFO", "sw_files_fifo", [](const std::string& name) { return mkfifo(name.c_str(), 0600) == 0; },
                       "is not a regular file"});
    entries.push_back({"a link to a device", "sw_files_zero",
                       [](const std::string& name) { return symlink("/dev/zero", name.c_str()) == 0; },
                       "is not a regular file"});
    entries.push_back({"a device", "/dev/null", {}, "is not a regular file"});
#endif
    return entries;
}

std::string ReadAll(TextFile& file) {
    std::string text, line;
    while (file.ReadLine(line, 160)) text += line;
    return text;
}

}  // namespace

TEST_CASE("only regular files are read, created or appended to") {
    for (const NoFile& entry : NoFiles()) {
        CAPTURE(entry.what);
        std::unique_ptr<ScratchEntry> made;
        if (entry.make) {
            made = std::make_unique<ScratchEntry>(entry.name, entry.make);
            REQUIRE(made->Made());
        }
        TextFile file;
        CHECK_FALSE(file.Open(entry.name));
        CHECK_FALSE(file.ReadFailed());
        CHECK(file.WhyNotOpened() == entry.why);
        CHECK_FALSE(FileCanBeOpened(entry.name));
        CHECK(CopyFileBytes(entry.name, "sw_files_copy") == CopyOutcome::SourceMissing);
        CHECK_FALSE(fs::exists("sw_files_copy"));

        ScratchFile source("files_source", "[PRD]\r\n");
        CHECK(CopyFileBytes(source.Name(), entry.name) == CopyOutcome::TargetNotCreated);
        CHECK_FALSE(CreateEmptyFile(entry.name));
        std::FILE* log = OpenForAppend(entry.name);
        CHECK(log == nullptr);
        if (log) std::fclose(log);
    }

    // A regular file, also an empty one, is what every opening takes.
    ScratchFile regular("files_regular", "line 1\r\nline 2\x1A after the end");
    TextFile file;
    REQUIRE(file.Open(regular.Name()));
    CHECK(file.WhyNotOpened() == "");
    CHECK(ReadAll(file) == "line 1\nline 2");
    TextFile missing;
    CHECK_FALSE(missing.Open("sw_files_nothing_here"));
    CHECK(missing.WhyNotOpened() == "");  // missing, which says so itself
    CHECK_FALSE(file.ReadFailed());
    ScratchFile empty("files_empty", "");
    CHECK(FileCanBeOpened(empty.Name()));
    CHECK(CopyFileBytes(regular.Name(), "sw_files_copy") == CopyOutcome::Copied);
    CHECK(CreateEmptyFile("sw_files_copy"));
    CHECK(fs::file_size("sw_files_copy") == 0);
    std::remove("sw_files_copy");
}

TEST_CASE("names Windows keeps for devices, wherever they stand") {
    const std::pair<const char*, bool> cases[] = {
        {"con.P00", true},       {"NUL", true},           {"aux.txt", true},      {"C:\\x\\Prn", true},
        {"D:/data/com1.log", true}, {"LPT9", true},       {"nul.", true},         {"nul ", true},
        {"con .txt", true},      {"C:nul", true},         {"CONOUT$", true},      {"com\xB9.p00", true},
        {"COM0", false},         {"LPT10", false},        {"console.P00", false}, {"xnul", false},
        {"NUL\\PRD.P00", false}, {"PRD.P00", false},      {"", false},            {"COM", false},
    };
    for (const auto& [name, reserved] : cases) {
        CAPTURE(name);
        CHECK(IsReservedDeviceName(name) == reserved);
    }
}

#ifndef _WIN32
namespace {

// A profile longer than one read (4096 bytes): its User line comes after it.
std::string LongProfile() {
    std::string text = "Extcompany.: Acme\nDestination: PRD\nClient.....: 100\n";
    for (int i = 0; i < 60; ++i) text += "* " + std::string(76, 'x') + "\n";
    text += "User.......: ddic\nPassword...: " + EncodePassword("Secret12", 2) + "\n";
    text += "Language...: E\nMode.......: R/3\nHostname...: sapprd\nSysnr......: 00\n";
    text += "Gwhost.....: sapgw\nGwservice..: sapgw00\n";
    return text;
}

}  // namespace

TEST_CASE("a read error stops the reading and is not the end of the file") {
    struct Case {
        const char* what;
        int failingRead;
        std::size_t linesBefore;  // lines that arrive before the reading stops
    };
    // The file reads in one read and ends at the second. Its last line has no
    // line end, so it is still being read when the second read fails.
    const Case cases[] = {
        {"at the first read", 1, 0},
        {"at the read after the text", 2, 2},
        {"without a read error", 0, 3},
    };
    ScratchFile three("files_three", "one\ntwo\r\nthree without its line end");
    for (const Case& c : cases) {
        CAPTURE(c.what);
        TextFile file;
        REQUIRE(file.Open(three.Name()));
        FailRead(c.failingRead);
        std::string line;
        std::size_t lines = 0;
        while (file.ReadLine(line, 160)) ++lines;
        CHECK(lines == c.linesBefore);
        CHECK(file.ReadFailed() == (c.failingRead > 0));
        CHECK_FALSE(file.ReadLine(line, 160));
        file.Close();
        CHECK(file.ReadFailed() == (c.failingRead > 0));  // known after closing
        CHECK(ReadsSeen >= c.failingRead);
        FailRead(0);
    }
}

TEST_CASE("each reader takes a read error for a file that cannot be opened") {
    const std::string profile = LongProfile();
    for (int failingRead : {1, 2}) {
        CAPTURE(failingRead);

        ScratchFile single("files_single.P00", profile);
        TextFile file;
        REQUIRE(file.Open(single.Name()));
        LogonEntriesRecord entries;
        FailRead(failingRead);
        CHECK(ReadSystemProfile(entries, file, "PRD.P00", "Error 1002: Profile C:\\x\\PRD.P00 is missing...") ==
              "Error 1002: Profile C:\\x\\PRD.P00 is missing...");
        REQUIRE(file.Open(single.Name()));
        FailRead(failingRead);
        CHECK(ReadSystemProfile(entries, file, "PRD.P00") == "Error 1002: Profile PRD.P00 is missing...");
        REQUIRE(file.Open(single.Name()));
        FailRead(failingRead);
        CHECK(ReadListedProfile(entries, file));
        CHECK(file.ReadFailed());

        std::string listingText = "# GSNG: ORA1      : PRD.P00#\n# GSNX: ORA1      :Sensor=\"SAP SpaceWarden\",Item=x\n";
        listingText += std::string(5000, '*') + "\n";
        ScratchFile listing("files_listing", listingText);
        RunSettingsRecord settings;
        settings.ProfileName = "SAP Overseer.Gbl";
        settings.ProfilePath = listing.Name();
        settings.ParameterText = "ORA1";
        TextFile located;
        FailRead(failingRead);
        CHECK(ReadGlobalListing(settings, located) == "Error 10x1: ProFile SAP Overseer.Gbl is missing...");
        settings.ProfileName = "Overseer.Prf";
        settings.ItemIdentification = "x";
        FailRead(failingRead);
        CHECK(ReadGlobalListing(settings, located) == "Error 1024: ProFile Overseer.Prf is missing...");

        REQUIRE(WriteFileBytes(RfcTraceFile, "ERROR       partner not reached\n" + std::string(5000, '-')));
        FailRead(failingRead);
        CHECK(TraceHint() == " - Look for Trace-File");

        FailRead(failingRead);
        CHECK(CopyFileBytes(single.Name(), "sw_files_copy") == CopyOutcome::Failed);
        FailRead(0);
    }
    std::remove(RfcTraceFile);
    std::remove("sw_files_copy");
}
#endif
