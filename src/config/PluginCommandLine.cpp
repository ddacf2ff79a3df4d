#include "config/PluginCommandLine.h"

#include <algorithm>

#include "config/ProfileLocation.h"
#include "config/RunSettings.h"

namespace {

enum class Action { Help, Version, Verbose, Profile, Listing, Keyword, Channel };

// One standard option; `Keyword` is the keyword word it stands for, to which
// its value is appended.
struct OptionRule {
    char Short;             // 0: a long form only
    const char* Long;
    const char* ValueName;  // null: the option takes no value
    Action What;
    const char* Keyword;
    const char* Help;
};

constexpr OptionRule OptionRules[] = {
    {'h', "help", nullptr, Action::Help, "", "print this help and exit"},
    {'V', "version", nullptr, Action::Version, "", "print the version and exit"},
    {'v', "verbose", nullptr, Action::Verbose, "", "add the run's progress lines after the status line"},
    {'p', "profile", "PROFILE", Action::Profile, "",
     "the system profile, e.g. /etc/spacewarden/PRD (.P00 is added); /etc/spacewarden/GLOBAL is the global "
     "listing \"SAP Overseer.Gbl\" of that folder"},
    {'l', "listing", "KEY", Action::Listing, "", "the key of the systems to check in the global listing"},
    {'i', "item", "ITEM", Action::Keyword, "ITEM=",
     "check every system of the item profile Overseer.Prf, reporting the channel ITEM"},
    {'w', "warning", "RANGE", Action::Keyword, "WARN=", "WARNING when a judged value is outside RANGE"},
    {'c', "critical", "RANGE", Action::Keyword, "CRIT=", "CRITICAL when a judged value is outside RANGE"},
    {'C', "channel", "CHANNEL", Action::Channel, "CH=",
     "judge and report one channel: 1 to 5 or its name (Critical_Spaces, Critical_Objects, Critical_TableSpc, "
     "Critical_Tables, Critical_Indexes); in a listing run the system's number, from 1"},
    {'t', "timeout", "SECONDS", Action::Keyword, "TIMEOUT=",
     "CRITICAL (Error 1019) when the run has not ended after SECONDS, 0 to 3600 (default 55, 0: none)"},
    {'H', "hostname", "HOST", Action::Keyword, "HOST=", "log on to this application server instead of the profile's"},
    {0, "parallel", "N", Action::Keyword, "PARALLEL=",
     "in a listing run, check at most N systems at the same time, 1 to 64 (default 8)"},
    {0, "sysnr", "NN", Action::Keyword, "NO=", "log on with this system number instead of the profile's"},
    {0, "exclude", "PATTERN", Action::Keyword, "EXCLUDE=",
     "leave out the critical tablespaces PATTERN matches and the objects in them (* any characters, letter case "
     "ignored; repeatable); NR_TS, NR_TABLES and NR_INDEXES stay SAP's"},
    {0, "names", "N", Action::Keyword, "NAMES=",
     "name at most N critical tablespaces and N objects per system, 1 to 1000 (default 20)"},
    {0, "credentials-from-env", nullptr, Action::Keyword, "CREDENTIALS=ENV",
     "the SAP user and password from SPACEWARDEN_USER and SPACEWARDEN_PASSWORD, not from the profile"},
    {0, "syslog", nullptr, Action::Keyword, "SYSLOG",
     "append a line per RFC step to SpaceWarden.log in the working folder"},
};

// The words of the keyword form: "KEY=value" with one of these keys, or a flag.
constexpr const char* ValueKeywords[] = {"WARN=", "CRIT=", "CH=",  "TIMEOUT=", "FLAVOUR=",
                                         "CREDENTIALS=", "ITEM=", "HOST=", "NO=", "PARALLEL=",
                                         "EXCLUDE=", "NAMES="};
constexpr const char* FlagKeywords[] = {"SYSLOG", "--CREDENTIALS-FROM-ENV"};

// The channels of a single-system run, by their numbers from 1.
constexpr const char* ChannelNames[] = {"Critical_Spaces", "Critical_Objects", "Critical_TableSpc",
                                        "Critical_Tables", "Critical_Indexes"};

// A keyword text given as an argument, or more than the form has room for.
constexpr std::size_t KeywordTexts = 2;

std::string ProgramFileName(const std::string& programPath) {
    const std::size_t folderEnd = programPath.find_last_of("/\\");
    std::string name = folderEnd == std::string::npos ? programPath : programPath.substr(folderEnd + 1);
    if (name.size() > 4 && UpperAscii(name.substr(name.size() - 4)) == ".EXE") name.resize(name.size() - 4);
    return name.empty() ? "check_spacewarden" : name;
}

std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == ',' || c == '\t') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

class Reader {
public:
    explicit Reader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    PluginCommandLine Read() {
        std::vector<std::string> positional;
        for (next_ = 0; next_ < arguments_.size() && line_.Request != PluginRequest::UsageError; ++next_) {
            const std::string& argument = arguments_[next_];
            if (argument == "--") {
                positional.insert(positional.end(), arguments_.begin() + static_cast<long>(next_) + 1,
                                  arguments_.end());
                break;
            }
            if (argument.size() > 2 && argument.compare(0, 2, "--") == 0)
                ReadLongOption(argument);
            else if (argument.size() > 1 && argument[0] == '-')
                ReadShortOptions(argument);
            else
                positional.push_back(argument);
        }
        if (line_.Request == PluginRequest::UsageError) return line_;
        TakePositional(positional);
        if (line_.Request == PluginRequest::Run && NamesGlobalListing(line_.ProfileName) && line_.ListingKey.empty() &&
            std::find(keywords_.begin(), keywords_.end(), "ITEM=") == keywords_.end())
            Refuse("The listing " + line_.ProfileName + " needs the key of its systems: -l KEY");
        if (line_.Request == PluginRequest::UsageError) return line_;
        for (const std::string& word : words_) {
            if (!line_.Options.empty()) line_.Options += ",";
            line_.Options += word;
        }
        if (!line_.ListingKey.empty()) line_.Options = line_.ListingKey + " " + line_.Options;
        return line_;
    }

private:
    void Refuse(const std::string& text) {
        if (line_.Request == PluginRequest::UsageError) return;
        line_.Request = PluginRequest::UsageError;
        line_.Error = "Error 1009: " + text + " !";
    }

    void ReadLongOption(const std::string& argument) {
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        for (const OptionRule& rule : OptionRules) {
            if (name != rule.Long) continue;
            if (!rule.ValueName) {
                if (equals != std::string::npos) return Refuse("Option --" + name + " takes no value");
                return Apply(rule, "");
            }
            if (equals != std::string::npos) return Apply(rule, argument.substr(equals + 1));
            return Apply(rule, TakeValue("--" + name));
        }
        Refuse("Unknown option " + argument.substr(0, equals));
    }

    // "-v", "-vv", "-w5", "-w 5".
    void ReadShortOptions(const std::string& argument) {
        for (std::size_t at = 1; at < argument.size(); ++at) {
            const OptionRule* found = nullptr;
            for (const OptionRule& rule : OptionRules)
                if (rule.Short != 0 && rule.Short == argument[at]) found = &rule;
            if (!found) return Refuse("Unknown option -" + std::string(1, argument[at]));
            if (!found->ValueName) {
                Apply(*found, "");
                continue;
            }
            const std::string option = "-" + std::string(1, argument[at]);
            return Apply(*found, at + 1 < argument.size() ? argument.substr(at + 1) : TakeValue(option));
        }
    }

    // The next argument, whatever it looks like ("-w -5" gives "-5", which the range then refuses).
    std::string TakeValue(const std::string& option) {
        if (next_ + 1 >= arguments_.size()) {
            Refuse("Option " + option + " needs a value");
            return "";
        }
        return arguments_[++next_];
    }

    void Apply(const OptionRule& rule, const std::string& value) {
        if (line_.Request == PluginRequest::UsageError) return;
        if (rule.ValueName && value.empty()) return Refuse("Option --" + std::string(rule.Long) + " needs a value");
        switch (rule.What) {
            case Action::Help: line_.Request = PluginRequest::Help; return;
            case Action::Version:
                if (line_.Request != PluginRequest::Help) line_.Request = PluginRequest::Version;
                return;
            case Action::Verbose: line_.Verbose = true; return;
            case Action::Profile:
                if (!line_.ProfileName.empty()) return Refuse("Option --profile given twice");
                line_.ProfileName = value;
                return;
            case Action::Listing:
                if (!line_.ListingKey.empty()) return Refuse("Option --listing given twice");
                line_.ListingKey = value;
                return;
            case Action::Channel: return AddWord(rule.Keyword + ChannelNumber(value));
            case Action::Keyword: return AddWord(rule.Keyword + value);
        }
    }

    std::string ChannelNumber(const std::string& value) {
        for (std::size_t number = 1; number <= std::size(ChannelNames); ++number)
            if (UpperAscii(value) == UpperAscii(ChannelNames[number - 1])) return std::to_string(number);
        return value;  // a number, or what the channel's check refuses
    }

    // A keyword word, as given or made from a standard option; refused when it
    // is none, has no value, or gives a keyword given before.
    void AddWord(const std::string& word) {
        const std::string upper = UpperAscii(word);
        std::string keyword;
        for (const char* flag : FlagKeywords)
            if (upper == flag) keyword = flag;
        for (const char* valued : ValueKeywords) {
            const std::string key = valued;
            if (upper.compare(0, key.size(), key) != 0) continue;
            if (upper.size() == key.size()) return Refuse("Option " + word + " needs a value");
            keyword = key;
        }
        if (keyword.empty()) return Refuse("Unknown option " + word);
        if (keyword == "--CREDENTIALS-FROM-ENV") keyword = "CREDENTIALS=";
        for (std::size_t at = 0; at < keywords_.size(); ++at) {
            if (keywords_[at] != keyword) continue;
            // Patterns add up, as --exclude is given once per pattern.
            if (keyword == "EXCLUDE=") return static_cast<void>(words_[at] += "+" + word.substr(keyword.size()));
            return Refuse("Option " + keyword + " given twice");
        }
        keywords_.push_back(keyword);
        words_.push_back(word);
    }

    // The profile, then at most two keyword texts; in a listing run the first
    // word of the first text is the listing's key when -l does not give it.
    void TakePositional(const std::vector<std::string>& positional) {
        std::size_t at = 0;
        if (line_.ProfileName.empty() && at < positional.size()) line_.ProfileName = positional[at++];
        if (positional.size() - at > KeywordTexts) return Refuse("Unexpected argument " + positional[at + KeywordTexts]);
        bool keyExpected = NamesGlobalListing(line_.ProfileName) && line_.ListingKey.empty();
        for (; at < positional.size(); ++at) {
            for (const std::string& word : SplitWords(positional[at])) {
                if (keyExpected) {
                    line_.ListingKey = word;
                    keyExpected = false;
                    continue;
                }
                AddWord(word);
            }
        }
    }

    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
    PluginCommandLine line_;
    std::vector<std::string> words_;
    std::vector<std::string> keywords_;
};

}  // namespace

PluginCommandLine ReadPluginCommandLine(const std::vector<std::string>& arguments) {
    return Reader(arguments).Read();
}

bool CommandLineIsPlugin(const std::string& programPath, const std::vector<std::string>& arguments) {
    // As the flavour is selected: the first "FLAVOUR=" after the profile decides,
    // wherever it stands, then the program's name.
    for (std::size_t at = 1; at < arguments.size(); ++at) {
        if (arguments[at].size() > 1 && arguments[at][0] == '-') continue;
        const std::string upper = UpperAscii(arguments[at]);
        const std::size_t position = upper.find("FLAVOUR=");
        if (position == std::string::npos) continue;
        const std::string value = upper.substr(position + 8, upper.find_first_of(" ,", position) - position - 8);
        return value == "NAGIOS";
    }
    return TraitsOf(DefaultHostFormat(programPath)).PluginCommandLine;
}

std::string PluginUsageLine(const std::string& programPath) {
    // No "|": a plugin's host would take what follows for performance data.
    return "Usage: " + ProgramFileName(programPath) +
           " [-v] [-t SECONDS] [-w RANGE] [-c RANGE] [-C CHANNEL] [-l KEY] [-i ITEM] [--credentials-from-env] "
           "[-p] PROFILE ['KEYWORD=value,...']";
}

std::string PluginHelpText(const std::string& programPath) {
    const std::string program = ProgramFileName(programPath);
    std::string text = PluginVersionLine(programPath) + "\n" +
                       "Critical tablespaces and database objects of SAP systems on Oracle, as a monitoring plugin.\n\n" +
                       PluginUsageLine(programPath) + "\n\nOptions:\n";
    for (const OptionRule& rule : OptionRules) {
        std::string names = rule.Short ? std::string("-") + rule.Short + ", " : "    ";
        names += std::string("--") + rule.Long;
        if (rule.ValueName) names += std::string(" ") + rule.ValueName;
        text += " " + names + "\n    " + rule.Help + "\n";
    }
    text +=
        "\nRANGE as the monitoring-plugins guidelines write it: 10 (outside 0 to 10), 10: (below 10), ~:10 (above "
        "10), 10:20; CRITICAL is judged before WARNING.\n"
        "The keyword form of earlier service definitions stays: PROFILE, then up to two arguments of words "
        "separated by blanks or commas: WARN=, CRIT=, CH=, TIMEOUT=, CREDENTIALS=, ITEM=, HOST=, NO=, "
        "PARALLEL=, EXCLUDE=, NAMES=, FLAVOUR=, "
        "SYSLOG; in a listing run the listing's key first.\n"
        "Exit codes: 0 OK, 1 WARNING, 2 CRITICAL (the SAP system failed to answer, or a value outside its "
        "range), 3 UNKNOWN (usage, profiles, the RFC library).\n\nExamples:\n"
        "  " + program + " -p /etc/spacewarden/PRD -C Critical_Spaces -w ~:4 -c ~:9 -t 50\n"
        "  " + program + " -p /etc/spacewarden/GLOBAL -l SAPCORE -c 10\n"
        "  " + program + " /etc/spacewarden/PRD 'CH=2,CRIT=1000'\n";
    return text;
}

std::string PluginVersionLine(const std::string& programPath) {
    return ProgramFileName(programPath) + " (" + ProgramName + " " + VersionText + ")";
}

std::vector<std::string> PluginOptionNames() {
    std::vector<std::string> names;
    for (const OptionRule& rule : OptionRules) {
        if (rule.Short) names.push_back(std::string("-") + rule.Short);
        names.push_back(std::string("--") + rule.Long);
    }
    return names;
}
