#include "output/PluginStatus.h"

#include <cstdlib>
#include <vector>

#include "config/RunSettings.h"
#include "config/Thresholds.h"

namespace {

constexpr const char* ServiceName = "SPACEWARDEN";
// Room of an error text, as in the error document.
constexpr std::size_t ErrorTextRoom = 127;
// Room of the channels named in front of the run's text.
constexpr std::size_t BreachesRoom = 1000;

struct PluginChannel {
    std::string Label;
    std::string Value;
};

struct PluginSystem {
    std::string Label;
    std::string Value;    // measured
    std::string Failure;  // failed: why
};

struct PluginStatusRecord {
    std::string Text;
    std::vector<PluginChannel> Channels;
    std::string LastValue;  // of the channel added last, selected or not
    std::vector<PluginSystem> Systems;
    PluginState Raised = PluginState::Ok;
    bool Written = false;
    PluginState State = PluginState::Unknown;
};
PluginStatusRecord Status;

const char* StateName(PluginState state) {
    switch (state) {
        case PluginState::Ok: return "OK";
        case PluginState::Warning: return "WARNING";
        case PluginState::Critical: return "CRITICAL";
        case PluginState::Unknown: break;
    }
    return "UNKNOWN";
}

PluginState Worse(PluginState a, PluginState b) { return static_cast<int>(a) >= static_cast<int>(b) ? a : b; }

// A text of the line: a "|" would start performance data, a line end a second
// line; no other control character reaches the host either (a profile's host
// name or an RFC message may hold one).
std::string LineText(std::string_view text) {
    std::string shown(text);
    for (char& c : shown) {
        if (c == '|') c = '/';
        if (c >= '\0' && c < ' ') c = ' ';
    }
    return shown;
}

bool IsPlainLabelCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
           c == '-';
}

std::string PerformanceEntry(const PluginChannel& channel) {
    std::string entry = PerformanceLabel(channel.Label) + "=" + channel.Value;
    const ThresholdRange& warning = Thresholds.Warning;
    const ThresholdRange& critical = Thresholds.Critical;
    if (critical.Given)
        entry += ";" + warning.Text + ";" + critical.Text;
    else if (warning.Given)
        entry += ";" + warning.Text;
    return entry;
}

PluginState Judged(const PluginChannel& channel) {
    return static_cast<PluginState>(JudgedLevel(Thresholds, std::strtod(channel.Value.c_str(), nullptr)));
}

// The channels that decided a WARNING or CRITICAL state, for the text in front
// of the run's own: notifications often leave out the performance data. A long
// listing names as many as fit in BreachesRoom and counts the others.
std::string Breaches(PluginState state, const std::vector<PluginChannel>& channels) {
    std::string text;
    if (state != PluginState::Warning && state != PluginState::Critical) return text;
    std::size_t left = 0;
    for (const PluginChannel& channel : channels) {
        if (Judged(channel) != state) continue;
        const std::string breach =
            RangeBreach(state == PluginState::Critical ? Thresholds.Critical : Thresholds.Warning, channel.Label,
                        channel.Value);
        if (left > 0 || text.size() + breach.size() > BreachesRoom) {
            ++left;
            continue;
        }
        text += (text.empty() ? "" : ", ") + breach;
    }
    if (left > 0) text += " and " + std::to_string(left) + " more";
    return text;
}

// The failed systems of a multi-system run and why: "QAS: Error 1018: DataBase mismatch !".
std::string Failures() {
    std::string text;
    for (const PluginSystem& system : Status.Systems) {
        if (system.Failure.empty()) continue;
        const std::string failure = system.Label + ": " + system.Failure;
        if (text.size() + failure.size() > BreachesRoom) return text + ", and more";
        text += (text.empty() ? "" : ", ") + failure;
    }
    return text;
}

// A line per listed system after the status line, as many as the room takes.
std::string SystemLines(std::size_t room) {
    std::string lines;
    std::size_t left = Status.Systems.size();
    for (const PluginSystem& system : Status.Systems) {
        std::string line;
        if (!system.Failure.empty()) {
            line = system.Label + ": CRITICAL - " + system.Failure;
        } else {
            const PluginState state = Judged(PluginChannel{system.Label, system.Value});
            line = system.Label + ": " + StateName(state) + " - " + RunSettings.ItemIdentification + "=" + system.Value;
        }
        line = LineText(line) + "\n";
        const std::string more = "... and " + std::to_string(left) + " more systems\n";
        if (lines.size() + line.size() + more.size() > room) return lines + more;
        lines += line;
        --left;
    }
    return lines;
}

std::string StatusBeginning(PluginState state, std::string_view text) {
    return std::string(ServiceName) + " " + StateName(state) + " - " + LineText(text);
}

}  // namespace

bool IsPluginFlavour() { return RunSettings.HostFlavour == HostFormat::Nagios; }

void BeginPluginStatus() { Status = PluginStatusRecord{}; }

void AppendPluginText(std::string_view text) { Status.Text += text; }

void AddPluginChannel(unsigned number, const std::string& label, const std::string& value) {
    Status.LastValue = value;
    const long selected = Thresholds.SelectedChannel;
    if (selected != 0 && selected != static_cast<long>(number)) return;
    Status.Channels.push_back(PluginChannel{label, value});
}

void RaisePluginState(PluginState atLeast) { Status.Raised = Worse(Status.Raised, atLeast); }

void AddPluginSystem(const std::string& label, const std::string& failure) {
    Status.Systems.push_back(PluginSystem{label, failure.empty() ? Status.LastValue : "", failure});
    if (!failure.empty()) RaisePluginState(PluginState::Critical);
}

std::string PluginStatusLine(std::size_t room) {
    PluginState state = Status.Raised;
    for (const PluginChannel& channel : Status.Channels) state = Worse(state, Judged(channel));

    // CH= beyond the channels of a multi-system run: nothing to judge. A
    // failed system explains it; otherwise the option is wrong.
    if (Thresholds.SelectedChannel != 0 && Status.Channels.empty() && state != PluginState::Critical) {
        const std::string error = "Error 1009: Invalid CH=" + Thresholds.SelectedChannelText + " !";
        NotePluginError(error);
        return PluginErrorLine(error);
    }

    std::string decided = Failures();
    const std::string breaches = Breaches(state, Status.Channels);
    if (!breaches.empty()) decided += (decided.empty() ? "" : ", ") + breaches;
    std::string line = StatusBeginning(state, decided.empty() ? Status.Text : decided + " - " + Status.Text);
    std::string performance;
    for (const PluginChannel& channel : Status.Channels) {
        const std::string entry = PerformanceEntry(channel);
        // " | ", the entries before with a blank after them, this entry, the line end.
        const std::size_t length = 3 + (performance.empty() ? 0 : performance.size() + 1) + entry.size() + 1;
        if (line.size() + length > room) break;
        performance += (performance.empty() ? "" : " ") + entry;
    }
    if (!performance.empty()) line += " | " + performance;
    line += "\n";
    if (!Status.Systems.empty() && line.size() < room) line += SystemLines(room - line.size());
    Status.Written = true;
    Status.State = state;
    return line;
}

PluginState PluginErrorState(std::string_view errorText) {
    // "Error NNNN: ..." with the number of a failure of reaching or asking the system.
    if (errorText.size() >= 10 && errorText.substr(0, 6) == "Error ") {
        const std::string_view number = errorText.substr(6, 4);
        for (const char* critical : {"1011", "1012", "1013", "1014", "1015", "1018", "1019"})
            if (number == critical) return PluginState::Critical;
    }
    return PluginState::Unknown;
}

std::string PluginErrorLine(std::string_view errorText) {
    std::string_view text = errorText.substr(0, ErrorTextRoom);
    return StatusBeginning(PluginErrorState(text), text) + "\n";
}

void NotePluginError(std::string_view errorText) {
    Status.Written = true;
    Status.State = PluginErrorState(errorText.substr(0, ErrorTextRoom));
}

int PluginExitCode() { return Status.Written ? static_cast<int>(Status.State) : static_cast<int>(PluginState::Unknown); }

std::string PerformanceLabel(const std::string& label) {
    bool plain = !label.empty();
    std::string shown = label;
    for (char& c : shown) {
        if (c == '\'' || c == '=') c = '_';
        if (c == '|') c = '/';
        if (c >= '\0' && c < ' ') c = ' ';
        if (!IsPlainLabelCharacter(c)) plain = false;
    }
    return plain ? shown : "'" + shown + "'";
}
