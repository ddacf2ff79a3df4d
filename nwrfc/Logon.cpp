#include "Logon.h"

namespace nwrfc {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string WithoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

void Add(LogonParameters& parameters, const char* name, const std::string& value)
{
    if (!value.empty()) parameters.push_back(LogonParameter{name, value});
}

std::string Value(const LogonEntries& entries, const char* key)
{
    auto found = entries.find(key);
    return found != entries.end() ? found->second : "";
}

bool IsKeyCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// "00" to "99" from a text of one or two digits.
bool TwoDigits(const std::string& text, std::string& digits)
{
    if (text.empty() || text.size() > 2) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    digits = text.size() == 1 ? "0" + text : text;
    return true;
}

}  // namespace

bool ServerLogonParameters(const ServerLogon& logon, LogonParameters& parameters, std::string& problem)
{
    if (logon.sysnr < 0 || logon.sysnr > 99) {
        problem = "system number " + std::to_string(logon.sysnr) + " is not one from 00 to 99";
        return false;
    }
    std::string sysnr = std::to_string(logon.sysnr);
    if (sysnr.size() == 1) sysnr = "0" + sysnr;
    parameters.clear();
    Add(parameters, "ashost", WithoutTrailingBlanks(logon.host));
    Add(parameters, "sysnr", sysnr);
    Add(parameters, "client", WithoutTrailingBlanks(logon.client));
    Add(parameters, "user", WithoutTrailingBlanks(logon.user));
    Add(parameters, "passwd", WithoutTrailingBlanks(logon.password));
    Add(parameters, "lang", WithoutTrailingBlanks(logon.language));
    Add(parameters, "gwhost", WithoutTrailingBlanks(logon.gwhost));
    Add(parameters, "gwserv", WithoutTrailingBlanks(logon.gwserv));
    if (logon.trace != 0) Add(parameters, "trace", "1");
    return true;
}

bool ParseConnectString(std::string_view text, LogonEntries& entries, std::string& problem)
{
    std::string* last = nullptr;   // the unquoted value a word without "=" continues
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t blanks = i;
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i == text.size()) break;
        std::size_t start = i;
        while (i < text.size() && IsKeyCharacter(text[i])) ++i;
        if (i == start || i == text.size() || text[i] != '=') {
            while (i < text.size() && !IsBlank(text[i])) ++i;
            if (last == nullptr) {
                problem = "connect string: '" + std::string(text.substr(start, i - start)) + "' is no KEY=value";
                return false;
            }
            last->append(text.substr(blanks, i - blanks));
            continue;
        }
        std::string key = Upper(text.substr(start, i - start));
        ++i;   // the "="
        std::string& value = entries[key];
        if (i < text.size() && text[i] == '"') {
            std::size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos) {
                problem = "connect string: the value of " + key + " lacks its closing quote";
                return false;
            }
            value = std::string(text.substr(i + 1, close - i - 1));
            i = close + 1;
            last = nullptr;
        } else {
            std::size_t end = i;
            while (end < text.size() && !IsBlank(text[end])) ++end;
            value = std::string(text.substr(i, end - i));
            i = end;
            last = &value;
        }
    }
    return true;
}

bool FindDestination(std::string_view ini, std::string_view destination, LogonEntries& entries)
{
    if (ini.substr(0, 3) == "\xEF\xBB\xBF") ini.remove_prefix(3);   // a UTF-8 byte order mark
    std::string wanted = Upper(Trimmed(destination));
    bool inside = false;
    bool found = false;
    while (!ini.empty()) {
        std::size_t end = ini.find('\n');
        std::string_view line = ini.substr(0, end);
        ini.remove_prefix(end == std::string_view::npos ? ini.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = Trimmed(line);
        if (line.empty() || line[0] == '*' || line[0] == '#' || line[0] == ';' || line.substr(0, 2) == "//" ||
            line.substr(0, 2) == "/*") {
            continue;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string key = Upper(Trimmed(line.substr(0, equals)));
        std::string_view value = Trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (key == "DEST") {
            if (found) break;   // the section ends at the next destination
            inside = Upper(value) == wanted;
            found = inside;
            if (inside) entries.clear();
            continue;
        }
        if (inside) entries[key] = std::string(value);
    }
    return found;
}

bool DestinationLogonParameters(const LogonEntries& entries, LogonParameters& parameters, std::string& problem,
                                bool& r2)
{
    r2 = false;
    parameters.clear();
    std::string type = Upper(Value(entries, "TYPE"));
    std::string destination = Value(entries, "DEST");
    if (type.empty()) type = !Value(entries, "ASHOST").empty() ? "A" : !Value(entries, "MSHOST").empty() ? "B" : "";
    std::string where = destination.empty() ? "the connect string" : "destination " + destination;
    if (type == "R") {
        r2 = true;
        problem = where + " is an R/2 destination (TYPE=R), which the SAP NetWeaver RFC library does not offer";
        return false;
    }
    if (type == "A") {
        std::string sysnr;
        if (Value(entries, "ASHOST").empty()) {
            problem = where + " (TYPE=A) names no ASHOST";
            return false;
        }
        if (!TwoDigits(Value(entries, "SYSNR"), sysnr)) {
            problem = where + " (TYPE=A) has SYSNR '" + Value(entries, "SYSNR") + "', not a number from 00 to 99";
            return false;
        }
        Add(parameters, "ashost", Value(entries, "ASHOST"));
        Add(parameters, "sysnr", sysnr);
    } else if (type == "B") {
        if (Value(entries, "MSHOST").empty()) {
            problem = where + " (TYPE=B) names no MSHOST";
            return false;
        }
        std::string sysid = Value(entries, "R3NAME");
        if (sysid.empty()) sysid = Value(entries, "SYSID");
        if (sysid.empty()) sysid = destination;
        if (sysid.empty()) {
            problem = where + " (TYPE=B) names no R3NAME";
            return false;
        }
        Add(parameters, "mshost", Value(entries, "MSHOST"));
        Add(parameters, "msserv", Value(entries, "MSSERV"));
        Add(parameters, "sysid", sysid);
        Add(parameters, "group", Value(entries, "GROUP"));
    } else if (type.empty()) {
        problem = where + " names no ASHOST and no MSHOST";
        return false;
    } else {
        problem = where + " has TYPE=" + type + "; only TYPE=A and TYPE=B are supported";
        return false;
    }
    Add(parameters, "client", Value(entries, "CLIENT"));
    Add(parameters, "user", Value(entries, "USER"));
    Add(parameters, "passwd", Value(entries, "PASSWD"));
    Add(parameters, "lang", Value(entries, "LANG"));
    if (type == "A") {
        Add(parameters, "gwhost", Value(entries, "GWHOST"));
        Add(parameters, "gwserv", Value(entries, "GWSERV"));
    }
    return true;
}

}  // namespace nwrfc
