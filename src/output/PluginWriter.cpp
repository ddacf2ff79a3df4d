#include "output/PluginWriter.h"

#include <cstdlib>
#include <vector>

#include "config/RunSettings.h"
#include "output/CriticalNamesText.h"
#include "output/PrtgDocument.h"
#include "output/ReportWriter.h"

namespace {

constexpr const char* ServiceName = "SPACEWARDEN";
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
    CriticalNames Names;  // measured: named in the long output under the system's line
};

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

std::string StatusBeginning(PluginState state, std::string_view text) {
    return std::string(ServiceName) + " " + StateName(state) + " - " + LineText(text);
}

class PluginWriter : public ReportWriter {
public:
    explicit PluginWriter(const RunSettingsRecord& settings) : settings_(settings) {}

    // The status line comes at the end; a listing's systems are gathered for it.
    std::string Opening(const RunReport&) override { return ""; }

    std::string SystemDone(const RunReport& report) override {
        const SystemResult& system = report.Systems.back();
        if (const long long* value = ItemValue(report, system)) AddChannel(system.Label, std::to_string(*value));
        systems_.push_back(
            PluginSystem{system.Label, system.Failure.empty() ? lastValue_ : "", system.Failure, system.Names});
        // A failed system makes the state CRITICAL and is named in the status text.
        if (!system.Failure.empty()) raised_ = Worse(raised_, PluginState::Critical);
        return "";
    }

    std::string Closing(const RunReport& report) override {
        if (report.MultiSystem) {
            // The state needs every system: one that failed, or whose profile is missing, is not OK.
            if (report.Failed > 0 || report.NoSystems > report.Processed + report.Failed)
                raised_ = Worse(raised_, PluginState::Critical);
            return StatusLine(SummaryText(report), ResultDocumentRoom);
        }
        const SystemResult& system = report.Systems.front();
        for (std::size_t index = 0; index < ChannelCount; ++index)
            AddChannel(ChannelNames[index], std::to_string(system.Values[index]));
        std::string line = StatusLine(MeasuredText(system.Destination, system.Values, false), ResultDocumentRoom);
        // The long output: the critical rows, as many as the document's room takes.
        if (line.size() < ResultDocumentRoom && written_ && state_ != PluginState::Unknown)
            for (const std::string& row : RowLines(system.Names, ResultDocumentRoom - line.size(), 1, ByteLength))
                line += LineText(row) + "\n";
        return line;
    }

    std::string Error(const RunReport&, std::string_view errorText) override {
        NoteError(errorText);
        return PluginErrorLine(errorText);
    }

    int ExitCode(int) const override { return static_cast<int>(written_ ? state_ : PluginState::Unknown); }
    int LostOutputExitCode() const override { return static_cast<int>(PluginState::Unknown); }

private:
    const ThresholdsRecord& Thresholds() const { return settings_.Thresholds; }

    // A channel of the run, numbered across a listing's systems: judged and
    // reported when CH= selects it or selects none.
    void AddChannel(const std::string& label, const std::string& value) {
        ++channelCounter_;
        lastValue_ = value;
        const long selected = Thresholds().SelectedChannel;
        if (selected != 0 && selected != static_cast<long>(channelCounter_)) return;
        channels_.push_back(PluginChannel{label.substr(0, ChannelTextRoom), value});
    }

    void NoteError(std::string_view errorText) {
        written_ = true;
        state_ = PluginErrorState(errorText.substr(0, MessageTextRoom));
    }

    std::string PerformanceEntry(const PluginChannel& channel) const {
        std::string entry = PerformanceLabel(channel.Label) + "=" + channel.Value;
        const ThresholdRange& warning = Thresholds().Warning;
        const ThresholdRange& critical = Thresholds().Critical;
        if (critical.Given)
            entry += ";" + warning.Text + ";" + critical.Text;
        else if (warning.Given)
            entry += ";" + warning.Text;
        return entry;
    }

    PluginState Judged(const PluginChannel& channel) const {
        return static_cast<PluginState>(JudgedLevel(Thresholds(), std::strtod(channel.Value.c_str(), nullptr)));
    }

    // The channels that decided a WARNING or CRITICAL state, for the text in
    // front of the run's own: notifications often leave out the performance
    // data. A long listing names as many as fit in BreachesRoom and counts the others.
    std::string Breaches(PluginState state) const {
        std::string text;
        if (state != PluginState::Warning && state != PluginState::Critical) return text;
        std::size_t left = 0;
        for (const PluginChannel& channel : channels_) {
            if (Judged(channel) != state) continue;
            const std::string breach = RangeBreach(
                state == PluginState::Critical ? Thresholds().Critical : Thresholds().Warning, channel.Label,
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
    std::string Failures() const {
        std::string text;
        for (const PluginSystem& system : systems_) {
            if (system.Failure.empty()) continue;
            const std::string failure = system.Label + ": " + system.Failure;
            if (text.size() + failure.size() > BreachesRoom) return text + ", and more";
            text += (text.empty() ? "" : ", ") + failure;
        }
        return text;
    }

    // A line per listed system after the status line, as many as the room takes.
    std::string SystemLines(std::size_t room) const {
        std::string lines;
        std::size_t left = systems_.size();
        for (const PluginSystem& system : systems_) {
            std::string line;
            if (!system.Failure.empty()) {
                line = system.Label + ": CRITICAL - " + system.Failure;
            } else {
                const PluginState state = Judged(PluginChannel{system.Label, system.Value});
                line = system.Label + ": " + StateName(state) + " - " + settings_.ItemIdentification + "=" +
                       system.Value;
            }
            line = LineText(line) + "\n";
            const std::string more = "... and " + std::to_string(left) + " more systems\n";
            // What does not fit is counted, the count too only where it fits.
            if (lines.size() + line.size() + more.size() > room)
                return lines.size() + more.size() <= room ? lines + more : lines;
            lines += line;
            --left;
            // Its critical rows under it, indented, leaving room for the count of the systems after it.
            const std::size_t rowsRoom = room - lines.size() - (left > 0 ? more.size() : 0);
            for (const std::string& row : RowLines(system.Names, rowsRoom, 3, ByteLength))
                lines += "  " + LineText(row) + "\n";
        }
        return lines;
    }

    // The whole status line of the run, at most `room` bytes: the state judged
    // from the thresholds, the channels as performance data (those that do not
    // fit are judged but left out). Sets the state for the exit code.
    std::string StatusLine(const std::string& text, std::size_t room) {
        PluginState state = raised_;
        for (const PluginChannel& channel : channels_) state = Worse(state, Judged(channel));

        // CH= beyond the channels of a multi-system run: nothing to judge. A
        // failed system explains it; otherwise the option is wrong.
        if (Thresholds().SelectedChannel != 0 && channels_.empty() && state != PluginState::Critical) {
            const std::string error = "Error 1009: Invalid CH=" + Thresholds().SelectedChannelText + " !";
            NoteError(error);
            return PluginErrorLine(error);
        }

        std::string decided = Failures();
        const std::string breaches = Breaches(state);
        if (!breaches.empty()) decided += (decided.empty() ? "" : ", ") + breaches;
        std::string line = StatusBeginning(state, decided.empty() ? text : decided + " - " + text);
        std::string performance;
        for (const PluginChannel& channel : channels_) {
            const std::string entry = PerformanceEntry(channel);
            // " | ", the entries before with a blank after them, this entry, the line end.
            const std::size_t length = 3 + (performance.empty() ? 0 : performance.size() + 1) + entry.size() + 1;
            if (line.size() + length > room) break;
            performance += (performance.empty() ? "" : " ") + entry;
        }
        if (!performance.empty()) line += " | " + performance;
        line += "\n";
        if (!systems_.empty() && line.size() < room) line += SystemLines(room - line.size());
        written_ = true;
        state_ = state;
        return line;
    }

    const RunSettingsRecord& settings_;  // as start-up has read them so far
    std::vector<PluginChannel> channels_;
    std::string lastValue_;  // of the channel added last, selected or not
    std::vector<PluginSystem> systems_;
    unsigned channelCounter_ = 0;
    PluginState raised_ = PluginState::Ok;
    bool written_ = false;
    PluginState state_ = PluginState::Unknown;
};

}  // namespace

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
    std::string_view text = errorText.substr(0, MessageTextRoom);
    return StatusBeginning(PluginErrorState(text), text) + "\n";
}

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

std::unique_ptr<ReportWriter> MakePluginWriter(const RunSettingsRecord& settings) {
    return std::make_unique<PluginWriter>(settings);
}
