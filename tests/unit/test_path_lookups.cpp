// Names in another letter case, looked up once per run: what the path layer
// finds, that it never holds a stale folder against a change, and that a
// long listing costs the same for each of its systems.
#include <doctest/doctest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "run/MultiSystemRun.h"

namespace fs = std::filesystem;

namespace {

// A scratch folder, removed when the test ends. Its own time lies in the past,
// as a folder's does that the sensor did not see being laid out.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::vector<std::string>& files)
        : path_(fs::temp_directory_path() / ("sw_lookups_" + std::to_string(std::chrono::steady_clock::now()
                                                                                   .time_since_epoch()
                                                                                   .count()))) {
        fs::create_directories(path_ / "Sub");
        for (const std::string& name : files) Write(name);
        Settle();
    }
    ~ScratchFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    void Write(const std::string& name) const {
        std::FILE* file = std::fopen(Path(name).c_str(), "wb");
        REQUIRE(file != nullptr);
        std::fclose(file);
    }
    // Where folders cannot be given a time (Windows, which keeps no listings), they keep theirs.
    void Settle() const {
        std::error_code error;
        for (const fs::path& folder : {path_, path_ / "Sub"})
            fs::last_write_time(folder, fs::file_time_type::clock::now() - std::chrono::minutes(5), error);
    }

private:
    fs::path path_;
};

}  // namespace

TEST_CASE("names are found in any letter case of a to z") {
    ForgetPathLookups();
    ScratchFolder folder({"PRD.P00", "Sub/SapRfc.QAS", "Straße.P00"});
    const std::pair<const char*, bool> cases[] = {
        {"PRD.P00", true},        {"prd.p00", true},        {"Prd.P00", true},  {"sub/saprfc.qas", true},
        {"SUB/SAPRFC.QAS", true}, {"Sub/SapRfc.PRD", false}, {"QAS.P00", false}, {"PRD.P0", false},
        {"STRAßE.P00", true},     {"STRASSE.P00", false},   {"sub/missing/x", false},
    };
    for (const auto& [name, found] : cases) {
        CAPTURE(name);
        CHECK(FileCanBeOpened(folder.Path(name)) == found);
    }
}

TEST_CASE("a folder read once never hides a change made afterwards") {
    ForgetPathLookups();
    ScratchFolder folder({"PRD.P00"});
    const std::string trace = folder.Path("Dev_Rfc.Trc");
    CHECK_FALSE(FileCanBeOpened(trace));

    // The library writes its trace file in a letter case of its own.
    folder.Write("DEV_RFC.TRC");
    FolderMayHaveChanged(trace);
    CHECK(FileCanBeOpened(trace));

    // Written by another program, unannounced, after the folder was read.
    folder.Settle();
    CHECK_FALSE(FileCanBeOpened(folder.Path("SapRfc.ini")));
    folder.Write("SAPRFC.INI");
    CHECK(FileCanBeOpened(folder.Path("SapRfc.ini")));

    // Deleted by the sensor, then by another program.
    DeleteFileIfPresent(trace);
    CHECK_FALSE(FileCanBeOpened(trace));
    CHECK_FALSE(FileCanBeOpened(folder.Path("DEV_RFC.TRC")));
    std::remove(folder.Path("SAPRFC.INI").c_str());
    CHECK_FALSE(FileCanBeOpened(folder.Path("SapRfc.ini")));

    // Created by the sensor in the case asked for.
    REQUIRE(CopyFileBytes(folder.Path("prd.p00"), folder.Path("SapRfc.ini")) == CopyOutcome::Copied);
    CHECK(FileCanBeOpened(folder.Path("SAPRFC.ini")));
}

// A listing of many systems whose profiles are missing or written in another
// case: the folder is read once however many systems it serves. Reading it
// again per system would cost time in the square of the systems.
TEST_CASE("a folder of many profiles is read once for all lookups in it") {
    ForgetPathLookups();
    std::vector<std::string> names;
    for (int n = 0; n < 2000; ++n) names.push_back("S" + std::to_string(10000 + n) + ".P00");
    ScratchFolder folder(names);
    ResetPathLookupTally();

    for (const std::string& name : names) CHECK(FileCanBeOpened(folder.Path(name)));
    CHECK(PathLookupTally().DirectoryReads == 0);  // a name that exists as written needs no folder

    int found = 0;
    for (int n = 0; n < 2000; ++n) {
        found += FileCanBeOpened(folder.Path("s" + std::to_string(10000 + n) + ".p00"));
        found += FileCanBeOpened(folder.Path("MISSING" + std::to_string(n) + ".P00"));
    }
    CHECK(found == 2000);
    CHECK(PathLookupTally().DirectoryReads <= 1);  // none on Windows, which finds the names itself
    CHECK(PathLookupTally().EntriesRead <= names.size() + 3);  // the files, Sub, "." and ".."
}

TEST_CASE("system names are taken from the listing where they lie") {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"PRD.P00#QAS.P00#", {"PRD.P00", "QAS.P00"}},
        {"PRD.P00##QAS.P00#", {"PRD.P00", "", "QAS.P00"}},
        {"PRD.P00#QAS.P00", {"PRD.P00", "QAS.P00"}},  // a last name without its "#"
        {"#", {""}},
        {"PRD.P00", {"PRD.P00"}},
    };
    for (const auto& [listing, expected] : cases) {
        CAPTURE(listing);
        std::vector<std::string> taken;
        std::size_t position = 0;
        while (position < listing.size() && taken.size() <= expected.size()) {
            std::string_view name = TakeNextSystemName(listing, position);
            // A view into the listing itself: nothing of it is copied or moved per system.
            CHECK(name.data() >= listing.data());
            CHECK(name.data() + name.size() <= listing.data() + listing.size());
            taken.emplace_back(name);
        }
        CHECK(taken == expected);
    }
}

// A listed name of a megabyte made of separators, joined from many pieces of
// an item profile, once cost seconds of the kernel's time per lookup. A name
// longer than a path can be names no file and is not looked up; a path of
// many components costs a few looks, each of at most its length, not one per
// component (which grows with the square of the length).
TEST_CASE("long names cost nothing and many components cost a few looks") {
    ForgetPathLookups();
    ScratchFolder folder({"PRD.P00"});
    ResetPathLookupTally();

    std::string separators;
    for (int n = 0; n < 600000; ++n) separators += n % 2 ? "/" : "\\";
    CHECK_FALSE(FileCanBeOpened(folder.Path("x" + separators + "PRD.P00")));
    CHECK(NativePath(folder.Path("x") + separators).empty());
    CHECK(PathLookupTally().ExistenceChecks == 0);
    CHECK(PathLookupTally().DirectoryReads == 0);

#ifndef _WIN32  // Windows looks names up itself
    struct Case {
        std::string path;
        bool found;
    };
    std::string deep = folder.Path("Sub");
    for (int n = 0; n < 900; ++n) deep += "/d";  // about 2,000 characters, 900 components below Sub
    const Case cases[] = {
        {deep + "/PRD.P00", false},
        {folder.Path("missing") + std::string(900, '/') + "x", false},
        {folder.Path("SUB") + "/../prd.p00", true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.path.size());
        ResetPathLookupTally();
        CHECK(FileCanBeOpened(c.path) == c.found);
        // Halving finds the part that exists in about log2(components) looks.
        CHECK(PathLookupTally().ExistenceChecks <= 16);
        CHECK(PathLookupTally().PathBytesChecked <= 16 * c.path.size());
    }
#endif
}
