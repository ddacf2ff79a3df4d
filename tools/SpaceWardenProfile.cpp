// SpaceWardenProfile: the administrator's tool for system profiles. It scrambles
// passwords with the sensor's own key, writes complete profiles and checks them
// with the sensor's own reader.
//
// Exit codes: 0 done (also --help); 1 input refused or the file could not be
// written; 2 bad arguments (with the usage), or (check) the sensor would reject
// the profile.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "config/Password.h"
#include "config/ProfileLocation.h"
#include "config/SystemProfile.h"
#include "platform/Files.h"
#include "platform/OwnerOnlyFiles.h"

namespace {

constexpr int ExitDone = 0;
constexpr int ExitRefused = 1;
constexpr int ExitUsage = 2;
constexpr int ExitProfileRejected = 2;

constexpr const char* ToolName = "SpaceWardenProfile";
constexpr char Delete = 0x7F;

void PrintUsage(std::FILE* to = stderr) {
    std::fprintf(to,
                 "usage: %s scramble PASSWORD [--offset K]\n"
                 "       %s write FILE --destination D --client C --user U --password P\n"
                 "           --language L --mode M --hostname H --sysnr N --gwhost G\n"
                 "           --gwservice S --extcompany E [--force]\n"
                 "       %s check FILE\n"
                 "A PASSWORD (or --password) of \"-\" is read from the first line of standard input.\n"
                 "K is a key offset from 0 to 9; without --offset one is chosen at random.\n"
                 "FILE gets the extension .P00 unless it has one, as the sensor looks for it; write makes it\n"
                 "readable by its owner only.\n",
                 ToolName, ToolName, ToolName);
}

int Refuse(const std::string& reason) {
    std::fprintf(stderr, "%s: %s\n", ToolName, reason.c_str());
    return ExitRefused;
}

int UsageError(const std::string& reason) {
    std::fprintf(stderr, "%s: %s\n", ToolName, reason.c_str());
    PrintUsage();
    return ExitUsage;
}

// "-" stands for the first line of standard input, so that a password need not
// appear on a command line.
bool TakePassword(const std::string& argument, std::string& password) {
    if (argument != "-") {
        password = argument;
        return true;
    }
    if (!std::getline(std::cin, password)) return false;
    StripLineEnd(password);
    return true;
}

// Empty when the password can be scrambled at all.
std::string PasswordProblem(const std::string& password) {
    if (password.empty()) return "the password is empty";
    if (password.size() > PasswordBodyLength) return "the password is longer than 20 characters";
    for (char c : password)
        if (c < 0x20 || c > 0x7E)
            return "the password holds a character outside printable ASCII (blank to tilde)";
    return "";
}

// Some offsets would turn a character into DEL; those are passed over. A value
// that ends in a blank is taken only when nothing else is left, since editors
// like to strip trailing blanks.
std::string ScrambleAtRandomOffset(const std::string& password) {
    std::vector<std::string> choices;
    std::vector<std::string> endingInBlank;
    for (int offset = 0; offset <= 9; ++offset) {
        std::string stored = EncodePassword(password, offset);
        if (stored.empty()) continue;
        (stored.back() == ' ' ? endingInBlank : choices).push_back(stored);
    }
    if (choices.empty()) choices = endingInBlank;
    if (choices.empty()) return "";
    std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, choices.size() - 1);
    return choices[pick(source)];
}

int Scramble(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1 && arguments.size() != 3) return UsageError("scramble takes a password and an optional --offset K");
    int offset = -1;
    if (arguments.size() == 3) {
        const std::string& value = arguments[2];
        if (arguments[1] != "--offset" || value.size() != 1 || value[0] < '0' || value[0] > '9')
            return UsageError("the key offset must be given as --offset K with K from 0 to 9");
        offset = value[0] - '0';
    }

    std::string password;
    if (!TakePassword(arguments[0], password)) return Refuse("no password could be read from standard input");
    std::string problem = PasswordProblem(password);
    if (!problem.empty()) return Refuse(problem);

    std::string stored = offset < 0 ? ScrambleAtRandomOffset(password) : EncodePassword(password, offset);
    if (stored.empty()) {
        if (offset >= 0)
            return Refuse("at key offset " + std::to_string(offset) +
                          " a character of this password would be stored as DEL; choose another offset");
        return Refuse("no key offset can store this password as plain text");
    }
    std::printf("%s\n", stored.c_str());
    return ExitDone;
}

// The option that sets each entry, in the order of ProfileEntryRules.
constexpr const char* EntryOptions[ProfileEntryCount] = {
    "--extcompany", "--destination", "--client", "--user", "--password", "--language",
    "--mode", "--hostname", "--sysnr", "--gwhost", "--gwservice",
};

// Empty when the sensor's reader takes the value whole and its checks pass.
std::string ValueProblem(const std::string& option, const std::string& value, const ProfileEntryRule& rule) {
    for (char c : value)
        if (static_cast<unsigned char>(c) < 0x20 || c == Delete)
            return option + ": control characters and line breaks cannot stand in a profile line";
    if (value.size() < rule.MinimumLength)
        return option + ": at least " + std::to_string(rule.MinimumLength) + " characters are needed";
    if (value.size() > rule.Room) return option + ": at most " + std::to_string(rule.Room) + " characters fit";
    return "";
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(NativePath(path), error) || FileCanBeOpened(path);
}

// The file's own name, as the sensor's messages name a profile.
std::string ProfileNameOf(const std::string& path) {
    std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// Reads the profile as the sensor does; `entries` gets what it says.
std::string ReadProfileBack(const std::string& path, LogonEntriesRecord& entries) {
    TextFile profile;
    if (!profile.Open(path)) return ProfileMissingText(path, profile.WhyNotOpened());
    return ReadSystemProfile(entries, profile, ProfileNameOf(path));
}

std::string ReadProfileBack(const std::string& path) {
    LogonEntriesRecord entries;
    return ReadProfileBack(path, entries);
}

int Write(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return UsageError("write needs a file name");
    const std::string path = WithDefaultExtension(arguments[0]);
    std::string values[ProfileEntryCount];
    bool given[ProfileEntryCount] = {};
    bool force = false;

    for (std::size_t a = 1; a < arguments.size(); ++a) {
        const std::string& option = arguments[a];
        if (option == "--force") {
            force = true;
            continue;
        }
        std::size_t entry = 0;
        while (entry < ProfileEntryCount && option != EntryOptions[entry]) ++entry;
        if (entry == ProfileEntryCount) return UsageError("unknown option " + option);
        if (given[entry]) return UsageError(option + " is given twice");
        if (a + 1 >= arguments.size()) return UsageError(option + " needs a value");
        values[entry] = arguments[++a];
        given[entry] = true;
    }
    for (std::size_t entry = 0; entry < ProfileEntryCount; ++entry)
        if (!given[entry]) return UsageError(std::string(EntryOptions[entry]) + " is missing");

    std::string stored;
    for (std::size_t entry = 0; entry < ProfileEntryCount; ++entry) {
        const ProfileEntryRule& rule = ProfileEntryRules()[entry];
        if (rule.Entry == &LogonEntriesRecord::Password) {
            std::string password;
            if (!TakePassword(values[entry], password)) return Refuse("no password could be read from standard input");
            std::string problem = PasswordProblem(password);
            if (problem.empty()) problem = ValueProblem(EntryOptions[entry], password, rule);
            if (!problem.empty()) return Refuse(problem);
            stored = ScrambleAtRandomOffset(password);
            if (stored.empty()) return Refuse("no key offset can store this password as plain text");
            values[entry] = stored;
            continue;
        }
        std::string problem = ValueProblem(EntryOptions[entry], values[entry], rule);
        if (!problem.empty()) return Refuse(problem);
    }

    if (!force && FileExists(path)) return Refuse(path + " exists already; --force replaces it");

    // The profile holds a password: readable by its owner, the check's account, only.
    std::FILE* file = CreateOwnerOnlyFile(NativePathForChange(path));
    if (!file) return Refuse(path + " cannot be created");
    bool written = true;
    for (std::size_t entry = 0; entry < ProfileEntryCount; ++entry)
        if (std::fprintf(file, "%s %s\n", ProfileEntryRules()[entry].Key, values[entry].c_str()) < 0) written = false;
    if (std::fclose(file) != 0) written = false;
    if (!written) return Refuse(path + " could not be written completely");

    // The sensor's own reader has the last word on what was written.
    std::string fault = ReadProfileBack(path);
    if (!fault.empty()) {
        DeleteFileIfPresent(path);
        return Refuse("the written profile was rejected and has been removed: " + fault);
    }
    return ExitDone;
}

int Check(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) return UsageError("check takes one file name");
    const std::string path = WithDefaultExtension(arguments[0]);
    LogonEntriesRecord entries;
    std::string fault = ReadProfileBack(path, entries);
    const std::string mode = ModeOpenToOthers(NativePath(path));
    if (entries.PasswordFromProfile && !mode.empty())
        std::fprintf(stderr, "%s: warning: %s holds a password and is readable by group or others (mode %s): "
                     "chmod 600 it\n", ToolName, path.c_str(), mode.c_str());
    std::printf("%s\n", fault.empty() ? "OK" : fault.c_str());
    return fault.empty() ? ExitDone : ExitProfileRejected;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) return UsageError("a command is needed");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        PrintUsage(stdout);
        return ExitDone;
    }
    const std::vector<std::string> arguments(argv + 2, argv + argc);
    int exitCode = ExitUsage;
    if (command == "scramble")
        exitCode = Scramble(arguments);
    else if (command == "write")
        exitCode = Write(arguments);
    else if (command == "check")
        exitCode = Check(arguments);
    else
        exitCode = UsageError("unknown command " + command);
    std::fflush(stdout);
    return exitCode;
}
