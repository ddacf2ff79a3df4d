#include "Scenario.h"

#include "SystemModel.h"
#include "Text.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace rfcsim {

namespace {

const char* const kHandlerOperations[] = {
    "RfcOpen", "RfcOpenEx", "RfcInstallStructure", "RfcCall", "RfcReceive",
    "ItCreate", "ItFill", "ItGetLine", "ItDelete",
};

std::string Unquote(const std::string& value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool ReadCount(const std::string& value, unsigned& count, std::string& error)
{
    long long number = 0;
    if (!ParseInt(value, number) || number < 0 || number > kMaxRows) {
        error = "row count '" + value + "' is not a number from 0 to " + std::to_string(kMaxRows);
        return false;
    }
    count = static_cast<unsigned>(number);
    return true;
}

bool ReadInt32(const std::string& value, int& result, std::string& error)
{
    long long number = 0;
    if (!ParseInt(value, number) || number < -2147483648LL || number > 2147483647LL) {
        error = "'" + value + "' is not a 4-byte integer";
        return false;
    }
    result = static_cast<int>(number);
    return true;
}

bool ReadSeconds(const std::string& value, double& seconds, std::string& error)
{
    char* end = nullptr;
    seconds = std::strtod(value.c_str(), &end);
    if (value.empty() || end != value.c_str() + value.size() || !(seconds >= 0 && seconds <= kMaxWaitSeconds)) {
        error = "a wait is a number of seconds from 0 to 3600";
        return false;
    }
    return true;
}

bool ReadNames(const std::string& value, std::vector<std::string>& names, std::string& error)
{
    std::vector<std::string> words = SplitWords(value);
    if (words.empty()) {
        error = "needs at least one name";
        return false;
    }
    names.insert(names.end(), words.begin(), words.end());
    return true;
}

bool ReadHandlerFault(const std::string& value, std::vector<std::string>& entries, std::string& error)
{
    std::vector<std::string> words = SplitWords(value);
    bool known = false;
    if (!words.empty()) {
        for (const char* operation : kHandlerOperations) {
            known = known || words[0] == operation;
        }
    }
    if (!known || words.size() > 2) {
        error = "fault.handler needs an operation (RfcOpen, RfcOpenEx, RfcInstallStructure, RfcCall, "
                "RfcReceive, ItCreate, ItFill, ItGetLine, ItDelete) and at most one name";
        return false;
    }
    entries.push_back(words.size() == 1 ? words[0] : words[0] + " " + words[1]);
    return true;
}

// fault.* and lasterror.*: allowed in the global section and per system.
// Returns false with an empty error for a key it does not know.
bool ApplyCommonKey(const std::string& key, const std::string& value, Faults& faults,
                    LastErrorTexts& lasterror, std::string& error)
{
    if (key == "fault.install") return ReadNames(value, faults.install, error);
    if (key == "fault.itcreate") return ReadNames(value, faults.itcreate, error);
    if (key == "fault.itgetline") return ReadNames(value, faults.itgetline, error);
    if (key == "fault.itdelete") return ReadNames(value, faults.itdelete, error);
    if (key == "fault.handler") return ReadHandlerFault(value, faults.handler, error);
    if (key == "lasterror.key") { lasterror.key = value; return true; }
    if (key == "lasterror.status") { lasterror.status = value; return true; }
    if (key == "lasterror.message") { lasterror.message = value; return true; }
    if (key == "lasterror.intstat") { lasterror.intstat = value; return true; }
    return false;
}

ForcedOutcome& OutcomeFor(System& system, const std::string& function)
{
    for (ForcedOutcome& outcome : system.outcomes) {
        if (outcome.function == function) {
            return outcome;
        }
    }
    system.outcomes.push_back(ForcedOutcome{});
    system.outcomes.back().function = function;
    return system.outcomes.back();
}

bool ApplyOutcomeKey(System& system, const std::string& rest, const std::string& value, std::string& error)
{
    std::string function = rest;
    std::string part;
    for (const char* suffix : {".at", ".trace"}) {
        std::string_view tail(suffix);
        if (rest.size() > tail.size() && rest.compare(rest.size() - tail.size(), tail.size(), tail) == 0) {
            function = rest.substr(0, rest.size() - tail.size());
            part = suffix;
        }
    }
    if (FindModule(function) == nullptr) {
        error = "no function module " + function + " (RFC_SYSTEM_INFO, GET_CPU_ALL, DB02_ORA_FILL_TS_CHECK__CRITOB)";
        return false;
    }
    ForcedOutcome& outcome = OutcomeFor(system, function);
    if (part == ".trace") {
        outcome.trace.push_back(value);
        return true;
    }
    if (part == ".at") {
        if (value != "call" && value != "receive") {
            error = "'" + value + "' is neither call nor receive";
            return false;
        }
        outcome.at_call = value == "call";
        return true;
    }
    std::vector<std::string> words = SplitWords(value);
    long long code = 0;
    if (words.empty() || !ParseInt(words[0], code) || code < -2147483648LL || code > 2147483647LL) {
        error = "an outcome is a return code, optionally followed by an exception text";
        return false;
    }
    outcome.code = static_cast<int>(code);
    outcome.exception = Trim(std::string_view(value).substr(value.find(words[0]) + words[0].size()));
    return true;
}

// "\xNN" as the byte NN, "\\" as one backslash; false for another escape.
bool Unescape(const std::string& text, std::string& bytes)
{
    bytes.clear();
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\') {
            bytes += text[at];
            continue;
        }
        if (at + 1 < text.size() && text[at + 1] == '\\') {
            bytes += '\\';
            ++at;
            continue;
        }
        if (at + 3 >= text.size() || text[at + 1] != 'x' || !std::isxdigit(static_cast<unsigned char>(text[at + 2])) ||
            !std::isxdigit(static_cast<unsigned char>(text[at + 3]))) {
            return false;
        }
        bytes += static_cast<char>(std::stoi(text.substr(at + 2, 2), nullptr, 16));
        at += 3;
    }
    return true;
}

// "row.TS_CHECK = PSAPTEMP|12|3|40|80|1|0|0": a row with contents of its own,
// its fields in the structure's order separated by "|"; figures left out are 0.
bool ReadNamedRow(System& system, const std::string& table, const std::string& value, std::string& error)
{
    const StructDef* structure = CriticalTableStructure(table);
    if (structure == nullptr) {
        error = "no table " + table + " with named rows (CRITOBJ, TS_CHECK)";
        return false;
    }
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= value.size(); ++at) {
        if (at < value.size() && value[at] != '|') continue;
        fields.push_back(value.substr(start, at - start));
        start = at + 1;
    }
    if (fields.size() > structure->fields.size()) {
        error = table + " rows have " + std::to_string(structure->fields.size()) + " fields";
        return false;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& def = structure->fields[i];
        if (def.type == kTypeInt) {
            long long number = 0;
            if (!ParseInt(fields[i], number) || number < -2147483648LL || number > 2147483647LL) {
                error = std::string(def.name) + " is a 4-byte integer";
                return false;
            }
            continue;
        }
        std::string bytes;
        if (!Unescape(fields[i], bytes) || bytes.size() > def.length) {
            error = std::string(def.name) + " holds at most " + std::to_string(def.length) +
                    " characters (\\xNN for a byte, \\\\ for a backslash)";
            return false;
        }
        fields[i] = bytes;
    }
    std::vector<std::vector<std::string>>& rows = system.named_rows[structure->name];
    if (rows.size() >= kMaxRows) {
        error = "too many rows";
        return false;
    }
    rows.push_back(std::move(fields));
    return true;
}

// Keys of a [system ...] section. Returns false with an empty error for a
// key it does not know.
bool ApplySystemKey(System& system, const std::string& key, const std::string& value, std::string& error)
{
    if (ApplyCommonKey(key, value, system.faults, system.lasterror, error)) return true;
    if (!error.empty()) return false;
    if (key == "client") { system.client = value; return true; }
    if (key == "user") { system.user = value; return true; }
    if (key == "password") { system.password = value; return true; }
    if (key == "host") { system.host = value; return true; }
    if (key == "unreachable") {
        if (value != "yes" && value != "no") {
            error = "unreachable is yes or no";
            return false;
        }
        system.unreachable = value == "yes";
        return true;
    }
    if (key.starts_with("RFCSI.")) {
        std::string field = key.substr(6);
        int index = FindField(RfcsiStructure(), field);
        if (index < 0) {
            error = "RFCSI has no field " + field;
            return false;
        }
        unsigned length = RfcsiStructure().fields[static_cast<unsigned>(index)].length;
        if (value.size() > length) {
            error = field + " holds at most " + std::to_string(length) + " characters";
            return false;
        }
        system.rfcsi.emplace_back(field, value);
        return true;
    }
    if (key.starts_with("row.")) return ReadNamedRow(system, key.substr(4), value, error);
    if (key == "rows.TF_CPU_ALL") return ReadCount(value, system.cpu_rows, error);
    if (key == "rows.CRITOBJ") return ReadCount(value, system.critobj_rows, error);
    if (key == "rows.TS_CHECK") return ReadCount(value, system.tscheck_rows, error);
    if (key == "NR_CRIT_OBJ.NR_TABLES") return ReadInt32(value, system.nr_tables, error);
    if (key == "NR_CRIT_OBJ.NR_INDEXES") return ReadInt32(value, system.nr_indexes, error);
    if (key == "NR_CRIT_OBJ.NR_TS") return ReadInt32(value, system.nr_ts, error);
    if (key.starts_with("outcome.")) return ApplyOutcomeKey(system, key.substr(8), value, error);
    if (key == "wait.logon") return ReadSeconds(value, system.logon_wait, error);
    if (key.starts_with("wait.")) {
        std::string function = key.substr(5);
        if (FindModule(function) == nullptr) {
            error = "no function module " + function + " (RFC_SYSTEM_INFO, GET_CPU_ALL, DB02_ORA_FILL_TS_CHECK__CRITOB)";
            return false;
        }
        double seconds = 0;
        if (!ReadSeconds(value, seconds, error)) return false;
        system.answer_waits.emplace_back(function, seconds);
        return true;
    }
    return false;
}

// One line of the file; false with `error` set when it is not acceptable.
bool ApplyLine(Scenario& scenario, System*& system, const std::string& line, std::string& error)
{
    std::string text = Trim(line);
    if (text.empty() || text[0] == '#') {
        return true;
    }
    if (text[0] == '[') {
        if (text.back() != ']') {
            error = "a section header ends with ']'";
            return false;
        }
        std::string inner = Trim(std::string_view(text).substr(1, text.size() - 2));
        if (inner == "global") {
            system = nullptr;
            return true;
        }
        std::vector<std::string> words = SplitWords(inner);
        if (words.size() != 2 || words[0] != "system") {
            error = "unknown section [" + inner + "] (expected [global] or [system NAME])";
            return false;
        }
        if (FindSystem(scenario, words[1]) != nullptr) {
            error = "system " + words[1] + " appears twice";
            return false;
        }
        scenario.systems.push_back(System{});
        system = &scenario.systems.back();
        system->destination = words[1];
        return true;
    }
    std::size_t equals = text.find('=');
    if (equals == std::string::npos) {
        error = "expected 'key = value'";
        return false;
    }
    std::string key = Trim(std::string_view(text).substr(0, equals));
    std::string value = Unquote(Trim(std::string_view(text).substr(equals + 1)));
    if (system != nullptr) {
        if (ApplySystemKey(*system, key, value, error)) return true;
        if (error.empty()) error = "unknown key '" + key + "'";
        return false;
    }
    if (ApplyCommonKey(key, value, scenario.faults, scenario.lasterror, error)) return true;
    if (!error.empty()) return false;
    System probe;
    std::string ignored;
    if (ApplySystemKey(probe, key, value, ignored)) {
        error = "key '" + key + "' belongs in a [system NAME] section";
    } else {
        error = "unknown key '" + key + "'";
    }
    return false;
}

}  // namespace

Scenario LoadScenario(const char* path)
{
    Scenario scenario;
    if (path == nullptr || *path == '\0') {
        scenario.error = "scenario not named: RFCSIM_SCENARIO is not set";
        return scenario;
    }
    scenario.path = CallerText(path);
    std::ifstream file(scenario.path);
    if (!file) {
        scenario.error = "scenario " + scenario.path + " cannot be read";
        return scenario;
    }
    System* system = nullptr;
    std::string line;
    unsigned number = 0;
    while (std::getline(file, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::string error;
        if (!ApplyLine(scenario, system, line, error)) {
            scenario.error = "scenario " + scenario.path + ":" + std::to_string(number) + ": " + error;
            scenario.systems.clear();
            return scenario;
        }
    }
    for (System& each : scenario.systems) {
        if (each.host.empty()) {
            each.host = each.destination;
        }
    }
    return scenario;
}

const System* FindSystem(const Scenario& scenario, const std::string& destination)
{
    for (const System& system : scenario.systems) {
        if (SameIgnoringTrailingBlanks(system.destination, destination)) {
            return &system;
        }
    }
    return nullptr;
}

const ForcedOutcome* FindOutcome(const System& system, const std::string& function)
{
    for (const ForcedOutcome& outcome : system.outcomes) {
        if (outcome.function == function) {
            return &outcome;
        }
    }
    return nullptr;
}

double AnswerWait(const System& system, const std::string& function)
{
    double seconds = 0;
    for (const auto& [name, wait] : system.answer_waits) {
        if (name == function) seconds = wait;   // the last setting wins
    }
    return seconds;
}

void WaitSilently(double seconds)
{
    if (!(seconds > 0)) return;
#ifdef _WIN32
    Sleep(static_cast<DWORD>(seconds * 1000));
#else
    timespec wait{static_cast<time_t>(seconds), static_cast<long>((seconds - static_cast<time_t>(seconds)) * 1e9)};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
#endif
}

std::string RfcsiValue(const System& system, const std::string& field)
{
    std::string value;
    bool found = false;
    for (const auto& [name, text] : system.rfcsi) {
        if (name == field) {
            value = text;   // the last setting wins
            found = true;
        }
    }
    if (found) return value;
    if (field == "RFCPROTO") return "011";
    if (field == "RFCCHARTYP") return "4103";
    if (field == "RFCINTTYP") return "LIT";
    if (field == "RFCFLOTYP") return "IE3";
    if (field == "RFCDEST") return system.host + "_" + system.destination + "_00";
    if (field == "RFCHOST") return system.host;
    if (field == "RFCSYSID") return system.destination;
    if (field == "RFCDATABS") return system.destination;
    if (field == "RFCDBHOST") return system.host;
    if (field == "RFCDBSYS") return "ORACLE";
    if (field == "RFCSAPRL") return "700";
    if (field == "RFCMACH") return "  390";
    if (field == "RFCOPSYS") return "Linux";
    if (field == "RFCTZONE") return "     0";
    if (field == "RFCIPADDR") return "127.0.0.1";
    if (field == "RFCKERNRL") return "720";
    return "";
}

}  // namespace rfcsim
