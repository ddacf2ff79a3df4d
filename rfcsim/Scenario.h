// The scenario file: the simulated systems, their answers, forced outcomes
// and library faults. Its format is described in README.md.
#ifndef RFCSIM_SCENARIO_H
#define RFCSIM_SCENARIO_H

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rfcsim {

// What a function module does instead of (or besides) its normal answer.
struct ForcedOutcome {
    std::string function;
    int code = 0;
    std::string exception;            // handed back for codes 2 and 3
    bool at_call = false;             // false: at RfcReceive
    std::vector<std::string> trace;   // written verbatim to the trace file
};

// Library faults on demand, by structure or table name.
struct Faults {
    std::vector<std::string> install;
    std::vector<std::string> itcreate;
    std::vector<std::string> itgetline;
    std::vector<std::string> itdelete;
    std::vector<std::string> handler;   // "Operation" or "Operation Name"
};

// Texts that RfcLastError hands out instead of its defaults.
struct LastErrorTexts {
    std::optional<std::string> key;
    std::optional<std::string> status;
    std::optional<std::string> message;
    std::optional<std::string> intstat;
};

struct System {
    std::string destination;
    std::optional<std::string> client;   // not set: any value is accepted
    std::optional<std::string> user;
    std::optional<std::string> password;
    bool unreachable = false;
    std::string host;                    // defaults to the destination
    std::vector<std::pair<std::string, std::string>> rfcsi;   // RFCSI field, value
    unsigned cpu_rows = 1;
    unsigned critobj_rows = 0;
    unsigned tscheck_rows = 0;
    // Rows with contents of their own, by structure name (CRIT_OBJ,
    // TSPC_CHECK): each row's fields in the structure's order, unescaped;
    // numbers as decimal texts. They come first; made-up rows follow.
    std::map<std::string, std::vector<std::vector<std::string>>> named_rows;
    int nr_tables = 0;
    int nr_indexes = 0;
    int nr_ts = 0;
    std::vector<ForcedOutcome> outcomes;
    // A silent system: seconds that a logon, and the answer of a function
    // module, keep the caller waiting before they go on as usual.
    double logon_wait = 0;
    std::vector<std::pair<std::string, double>> answer_waits;   // function module, seconds
    Faults faults;
    LastErrorTexts lasterror;
};

struct Scenario {
    std::string path;
    std::string error;   // empty when the file was read without complaint
    Faults faults;       // global section
    LastErrorTexts lasterror;
    std::vector<System> systems;
};

// Reads the scenario at `path` (null: not named). Problems end up in `error`
// as "scenario FILE:LINE: what".
Scenario LoadScenario(const char* path);

// The system for a destination, trailing blanks ignored; null if none.
const System* FindSystem(const Scenario& scenario, const std::string& destination);

const ForcedOutcome* FindOutcome(const System& system, const std::string& function);

// Seconds the answer of `function` waits on this system (0: none).
double AnswerWait(const System& system, const std::string& function);

// Keeps the calling thread waiting for `seconds` (a silent system).
void WaitSilently(double seconds);

// Longest wait a scenario may ask for, in seconds.
inline constexpr double kMaxWaitSeconds = 3600;

// RFCSI field value of a system: the scenario's value or the default.
std::string RfcsiValue(const System& system, const std::string& field);

// Most rows the scenario may ask for in one table.
inline constexpr unsigned kMaxRows = 10000000;

}  // namespace rfcsim

#endif
