#include "ReportFormats.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "output/Utf8.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// An optional sign, digits, an optional fraction: the whole text.
bool IsNumber(const std::string& text) {
    std::size_t at = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    if (at == start) return false;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fraction = ++at;
        while (at < text.size() && IsDigit(text[at])) ++at;
        if (at == fraction) return false;
    }
    return at == text.size();
}

std::vector<std::string> Lines(const std::string& output) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(output.substr(start, end - start));
    return lines;
}

std::string CheckmkMetricProblem(const std::string& metric) {
    const std::size_t equals = metric.find('=');
    if (equals == std::string::npos || equals == 0) return "a metric without name=value: " + metric;
    for (char c : metric.substr(0, equals))
        if (!(IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '.' || c == '-'))
            return "a metric name with " + std::string(1, c);
    std::string rest = metric.substr(equals + 1);
    std::vector<std::string> fields;
    for (std::size_t at; (at = rest.find(';')) != std::string::npos; rest.erase(0, at + 1))
        fields.push_back(rest.substr(0, at));
    fields.push_back(rest);
    if (fields.size() > 5 || !IsNumber(fields[0])) return "a metric's value is not a number: " + metric;
    for (std::size_t i = 1; i < fields.size(); ++i)
        if (!fields[i].empty() && !IsNumber(fields[i])) return "a metric's level is not a number: " + metric;
    return "";
}

// --- JSON, as far as Script v2 needs it ---------------------------------------

struct Json {
    enum Kind { Null, Bool, Number, Text, Array, Object } kind = Null;
    std::string text;    // Text; Number as written
    std::vector<Json> items;         // Array; Object: the members' values
    std::vector<std::string> names;  // of the members, each with its value in `items`
};

class JsonReader {
public:
    explicit JsonReader(const std::string& text) : text_(text) {}

    // The one value of the text, blanks around it allowed; false with `problem` set.
    bool ReadDocument(Json& value) {
        if (!ReadValue(value, 0)) return false;
        Blanks();
        return at_ == text_.size() || Fail("something after the JSON value");
    }
    std::string problem;

private:
    bool Fail(const std::string& why) {
        if (problem.empty()) problem = why + " at byte " + std::to_string(at_);
        return false;
    }
    void Blanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool Take(const std::string& word) {
        if (text_.compare(at_, word.size(), word) != 0) return false;
        at_ += word.size();
        return true;
    }
    bool ReadValue(Json& value, int depth) {
        if (depth > 20) return Fail("too deep");
        Blanks();
        if (at_ >= text_.size()) return Fail("a value missing");
        const char c = text_[at_];
        if (c == '{') return ReadObject(value, depth);
        if (c == '[') return ReadArray(value, depth);
        if (c == '"') {
            value.kind = Json::Text;
            return ReadString(value.text);
        }
        if (Take("true") || Take("false")) {
            value.kind = Json::Bool;
            return true;
        }
        if (Take("null")) return true;
        return ReadNumber(value);
    }
    bool ReadNumber(Json& value) {
        const std::size_t start = at_;
        if (at_ < text_.size() && text_[at_] == '-') ++at_;
        if (at_ >= text_.size() || !IsDigit(text_[at_])) return Fail("not a value");
        if (text_[at_] == '0') ++at_;
        else while (at_ < text_.size() && IsDigit(text_[at_])) ++at_;
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            if (at_ >= text_.size() || !IsDigit(text_[at_])) return Fail("a fraction without digits");
            while (at_ < text_.size() && IsDigit(text_[at_])) ++at_;
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
            if (at_ >= text_.size() || !IsDigit(text_[at_])) return Fail("an exponent without digits");
            while (at_ < text_.size() && IsDigit(text_[at_])) ++at_;
        }
        value.kind = Json::Number;
        value.text = text_.substr(start, at_ - start);
        return true;
    }
    bool ReadString(std::string& into) {
        ++at_;  // the opening quote
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return true;
            if (c >= '\0' && c < ' ') return Fail("a raw control character in a string");
            if (c != '\\') {
                into += c;
                continue;
            }
            if (at_ >= text_.size()) break;
            const char escaped = text_[at_++];
            if (escaped == 'u') {
                if (at_ + 4 > text_.size()) return Fail("a short \\u escape");
                for (int i = 0; i < 4; ++i)
                    if (!std::isxdigit(static_cast<unsigned char>(text_[at_ + i]))) return Fail("a bad \\u escape");
                at_ += 4;
                into += '?';
            } else if (std::string("\"\\/bfnrt").find(escaped) != std::string::npos) {
                into += escaped;
            } else {
                return Fail("an unknown escape");
            }
        }
        return Fail("a string without its end");
    }
    bool ReadArray(Json& value, int depth) {
        value.kind = Json::Array;
        ++at_;
        Blanks();
        if (Take("]")) return true;
        for (;;) {
            value.items.emplace_back();
            if (!ReadValue(value.items.back(), depth + 1)) return false;
            Blanks();
            if (Take("]")) return true;
            if (!Take(",")) return Fail("no ',' between array items");
        }
    }
    bool ReadObject(Json& value, int depth) {
        value.kind = Json::Object;
        ++at_;
        Blanks();
        if (Take("}")) return true;
        for (;;) {
            Blanks();
            if (at_ >= text_.size() || text_[at_] != '"') return Fail("a member without a name");
            std::string name;
            if (!ReadString(name)) return false;
            Blanks();
            if (!Take(":")) return Fail("no ':' after a member's name");
            value.names.push_back(name);
            value.items.emplace_back();
            if (!ReadValue(value.items.back(), depth + 1)) return false;
            Blanks();
            if (Take("}")) return true;
            if (!Take(",")) return Fail("no ',' between members");
        }
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

const Json* Member(const Json& object, const std::string& name) {
    const Json* found = nullptr;
    for (std::size_t at = 0; at < object.names.size(); ++at)
        if (object.names[at] == name) {
            if (found) return nullptr;  // named twice
            found = &object.items[at];
        }
    return found;
}

std::size_t Characters(const std::string& utf8) {
    std::size_t count = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

// --- Prometheus ----------------------------------------------------------------

bool IsMetricName(const std::string& name) {
    if (name.empty() || IsDigit(name[0])) return false;
    for (char c : name)
        if (!(IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':')) return false;
    return true;
}

// `name{label="value",...} number` or `name number`; the metric's name into `name`.
std::string SampleProblem(const std::string& line, std::string& name) {
    std::size_t at = 0;
    while (at < line.size() && line[at] != '{' && line[at] != ' ') ++at;
    name = line.substr(0, at);
    if (!IsMetricName(name)) return "not a metric name: " + line;
    if (at < line.size() && line[at] == '{') {
        ++at;
        while (at < line.size() && line[at] != '}') {
            const std::size_t equals = line.find('=', at);
            if (equals == std::string::npos || !IsMetricName(line.substr(at, equals - at)))
                return "a bad label name: " + line;
            at = equals + 1;
            if (at >= line.size() || line[at] != '"') return "a label value without quotes: " + line;
            for (++at; at < line.size() && line[at] != '"'; ++at) {
                if (line[at] != '\\') continue;
                if (at + 1 >= line.size() || std::string("\\\"n").find(line[at + 1]) == std::string::npos)
                    return "a bad escape in a label value: " + line;
                ++at;
            }
            if (at >= line.size()) return "a label value without its end: " + line;
            ++at;
            if (at < line.size() && line[at] == ',') ++at;
        }
        if (at >= line.size()) return "labels without their '}': " + line;
        ++at;
    }
    if (at >= line.size() || line[at] != ' ' || !IsNumber(line.substr(at + 1)))
        return "a sample without one number (a timestamp?): " + line;
    return "";
}

}  // namespace

std::string CheckmkLinesProblem(const std::string& output) {
    if (output.empty() || output.back() != '\n') return "no lines, or a last line without its end";
    if (ValidUtf8(output) != output) return "not UTF-8";
    std::set<std::string> services;
    for (const std::string& line : Lines(output)) {
        if (line.size() < 4 || std::string("0123P").find(line[0]) == std::string::npos || line[1] != ' ' ||
            line[2] != '"')
            return "a line without its state and quoted name: " + line;
        const std::size_t nameEnd = line.find('"', 3);
        if (nameEnd == std::string::npos || nameEnd == 3 || nameEnd + 1 >= line.size() || line[nameEnd + 1] != ' ')
            return "a service name without its end: " + line;
        if (!services.insert(line.substr(3, nameEnd - 3)).second) return "a service named twice: " + line;
        const std::size_t metricsEnd = line.find(' ', nameEnd + 2);
        if (metricsEnd == std::string::npos) return "a line without details: " + line;
        const std::string metrics = line.substr(nameEnd + 2, metricsEnd - nameEnd - 2);
        if (metrics != "-") {
            std::size_t start = 0;
            for (std::size_t bar = 0; bar != std::string::npos; start = bar + 1) {
                bar = metrics.find('|', start);
                const std::string problem = CheckmkMetricProblem(metrics.substr(start, bar - start));
                if (!problem.empty()) return problem;
            }
        }
        for (char c : line)
            if ((c >= '\0' && c < ' ') || c == '\x7f') return "a control character or DEL in a line: " + line;
        const std::string details = line.substr(metricsEnd + 1);
        for (char c : details)
            if (c == '|') return "a '|' in the details: " + line;
    }
    return "";
}

std::string ScriptV2Problem(const std::string& output) {
    if (output.empty() || output.back() != '\n' || output.find('\n') != output.size() - 1)
        return "not one line";
    if (ValidUtf8(output) != output) return "not UTF-8";
    Json document;
    JsonReader reader(output);
    if (!reader.ReadDocument(document)) return "not JSON: " + reader.problem;
    if (document.kind != Json::Object) return "not an object";
    const Json* version = Member(document, "version");
    if (!version || version->kind != Json::Number || version->text != "2") return "version is not the integer 2";
    const Json* status = Member(document, "status");
    if (!status || status->kind != Json::Text ||
        (status->text != "ok" && status->text != "warning" && status->text != "error"))
        return "status is none of ok, warning, error";
    const Json* message = Member(document, "message");
    if (message && (message->kind != Json::Text || Characters(message->text) > 2000))
        return "message is no text of at most 2,000 characters";
    const Json* channels = Member(document, "channels");
    if (!channels) return "";
    if (channels->kind != Json::Array || channels->items.size() > 50) return "channels is no list of at most 50";
    std::set<long long> ids;
    for (const Json& channel : channels->items) {
        if (channel.kind != Json::Object) return "a channel is no object";
        const Json* id = Member(channel, "id");
        if (!id || id->kind != Json::Number || id->text.find_first_not_of("0123456789") != std::string::npos ||
            id->text.size() > 10)
            return "a channel id is no whole number";
        const long long value = std::atoll(id->text.c_str());
        if (value < 10 || value > 2147483647LL || !ids.insert(value).second)
            return "a channel id outside 10 to 2147483647, or twice: " + id->text;
        const Json* name = Member(channel, "name");
        const Json* type = Member(channel, "type");
        const Json* number = Member(channel, "value");
        if (!name || name->kind != Json::Text || !type || type->kind != Json::Text || !number ||
            number->kind != Json::Number)
            return "a channel without its name, type or number value";
    }
    return "";
}

std::string PrometheusProblem(const std::string& output) {
    if (output.empty() || output.back() != '\n') return "no text, or no newline at its end";
    if (ValidUtf8(output) != output) return "not UTF-8";
    std::map<std::string, int> helped, typed;
    std::set<std::string> finished, series;
    std::string current;
    for (const std::string& line : Lines(output)) {
        if (line.rfind("# HELP ", 0) == 0 || line.rfind("# TYPE ", 0) == 0) {
            const std::string rest = line.substr(7);
            const std::string name = rest.substr(0, rest.find(' '));
            if (!IsMetricName(name) || rest.size() <= name.size()) return "a bad HELP or TYPE line: " + line;
            if (++(line[2] == 'H' ? helped : typed)[name] > 1) return "HELP or TYPE twice: " + line;
            if (finished.count(name) || name == current) return "HELP or TYPE after the samples: " + line;
            if (line[2] == 'T' && rest.substr(name.size() + 1) != "gauge") return "not a gauge: " + line;
            continue;
        }
        if (!line.empty() && line[0] == '#') continue;  // a comment
        std::string name;
        const std::string problem = SampleProblem(line, name);
        if (!problem.empty()) return problem;
        // node_exporter refuses the whole file for two series of one label set,
        // and reads an empty label value as no label.
        if (!series.insert(line.substr(0, line.rfind(' '))).second) return "two series of one label set: " + line;
        if (line.find("=\"\"") != std::string::npos) return "an empty label value: " + line;
        if (name != current) {
            if (finished.count(name)) return "the samples of " + name + " are not together";
            if (!current.empty()) finished.insert(current);
            current = name;
        }
    }
    return "";
}
