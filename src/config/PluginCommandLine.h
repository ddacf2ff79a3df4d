// The command line of the monitoring plugin (the flavour "Nagios"): the
// standard options of the monitoring-plugins development guidelines and the
// keyword form of existing service definitions, both read into the keyword
// text that the run takes its options from. Nothing is ignored: an unknown
// option or keyword, a keyword inside another word, an option without its
// value or an argument too many is a usage error.
//
//   check_spacewarden -p /etc/spacewarden/PRD -w 5 -c 10 -C Critical_Indexes -t 50
//   check_spacewarden /etc/spacewarden/PRD 'CH=5,WARN=5,CRIT=10,TIMEOUT=50'
#pragma once

#include <string>
#include <vector>

enum class PluginRequest { Run, Help, Version, UsageError };

struct PluginCommandLine {
    PluginRequest Request = PluginRequest::Run;
    std::string ProfileName;  // argument 1 of the keyword form, or -p; empty when none is given
    // The options as keyword words joined by ",", preceded by the listing's
    // key and a blank in a multi-system run: "SAPCORE CRIT=10,TIMEOUT=50".
    std::string Options;
    std::string ListingKey;
    bool Verbose = false;
    std::string Error;  // UsageError: "Error 1009: ..." naming the word
};

// Reads the arguments after the program's name.
PluginCommandLine ReadPluginCommandLine(const std::vector<std::string>& arguments);

// Whether a run of this program with these arguments (argv[1] on) is the
// monitoring plugin: the first "FLAVOUR=" after argument 1, anywhere in an
// argument that is no option, decides by its value, else the program's name.
bool CommandLineIsPlugin(const std::string& programPath, const std::vector<std::string>& arguments);

// "Usage: check_spacewarden ..." in one line; the help for --help, every option
// with its meaning and examples; the line for --version.
std::string PluginUsageLine(const std::string& programPath);
std::string PluginHelpText(const std::string& programPath);
std::string PluginVersionLine(const std::string& programPath);

// The long and short names of every standard option, as --help lists them
// (the manual page is checked against them).
std::vector<std::string> PluginOptionNames();
