#include "PluginLine.h"

#include <algorithm>

namespace {

const char* const States[] = {"OK", "WARNING", "CRITICAL", "UNKNOWN"};

bool IsNumber(const std::string& text) {
    std::size_t at = !text.empty() && text[0] == '-' ? 1 : 0;
    bool digits = false;
    bool point = false;
    for (; at < text.size(); ++at) {
        if (text[at] >= '0' && text[at] <= '9')
            digits = true;
        else if (text[at] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

// label=value[;warn[;crit]], the label plain or in single quotes. Returns the
// length of the entry at `at`, 0 when there is none.
std::size_t EntryLength(const std::string& data, std::size_t at) {
    std::size_t position = at;
    if (position < data.size() && data[position] == '\'') {
        std::size_t close = data.find('\'', position + 1);
        if (close == std::string::npos) return 0;
        if (data.find('=', position + 1) < close) return 0;
        position = close + 1;
    } else {
        while (position < data.size() && data[position] != '=' && data[position] != ' ' && data[position] != '\'')
            ++position;
        if (position == at) return 0;
    }
    if (position >= data.size() || data[position] != '=') return 0;
    std::size_t end = data.find(' ', position);
    if (end == std::string::npos) end = data.size();
    const std::string fields = data.substr(position + 1, end - position - 1);
    const std::string value = fields.substr(0, fields.find(';'));
    if (!IsNumber(value)) return 0;
    if (std::count(fields.begin(), fields.end(), ';') > 2) return 0;
    return end - at;
}

}  // namespace

std::string PluginLineProblem(const std::string& output, int exitCode) {
    const std::size_t lineEnd = output.find('\n');
    if (lineEnd == std::string::npos) return "no line end after the status line";
    const std::string line = output.substr(0, lineEnd);
    // The lines after it are long text, where a "|" would start more performance data.
    if (output.find('|', lineEnd) != std::string::npos) return "a \"|\" in the long text";
    for (char c : output)
        if (c >= '\0' && c < ' ' && c != '\n') return "a control character other than the line end";
    if (line.rfind("SPACEWARDEN ", 0) != 0) return "the line does not begin with the service name";
    int state = -1;
    std::size_t textStart = 0;
    for (int s = 0; s < 4; ++s) {
        const std::string beginning = std::string("SPACEWARDEN ") + States[s] + " - ";
        if (line.rfind(beginning, 0) == 0) {
            state = s;
            textStart = beginning.size();
        }
    }
    if (state < 0) return "no state after the service name";
    if (state != exitCode) return "the exit code is not the state's";
    const std::size_t bar = line.find('|', textStart);
    if (bar == std::string::npos) return "";
    if (bar < 1 || line[bar - 1] != ' ' || bar + 1 >= line.size() || line[bar + 1] != ' ')
        return "a \"|\" in the text";
    const std::string data = line.substr(bar + 2);
    for (std::size_t at = 0; at < data.size();) {
        const std::size_t length = EntryLength(data, at);
        if (length == 0) return "performance data not of the guidelines' form";
        at += length;
        if (at < data.size()) ++at;  // the blank between entries
    }
    return "";
}
