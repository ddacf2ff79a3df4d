#include "output/ScriptV2Writer.h"

#include <cstdio>
#include <set>
#include <vector>

#include "output/Console.h"
#include "output/CriticalNamesText.h"
#include "output/Utf8.h"
#include "output/WholeReportWriter.h"

namespace {

struct JsonChannel {
    long long Id;
    std::string Name;
    long long Value;
};

const char* StatusName(int level) {
    switch (level) {
        case 0: return "ok";
        case 1: return "warning";
        default: return "error";
    }
}

std::string Document(int level, const std::string& message, const std::vector<JsonChannel>& channels,
                     bool withChannels) {
    std::string document = "{\"version\": 2, \"status\": \"" + std::string(StatusName(level)) +
                           "\", \"message\": " + JsonString(FirstCharacters(ValidUtf8(message), ScriptV2MessageRoom));
    if (withChannels) {
        document += ", \"channels\": [";
        for (std::size_t at = 0; at < channels.size(); ++at) {
            const JsonChannel& channel = channels[at];
            document += (at == 0 ? "" : ", ") + std::string("{\"id\": ") + std::to_string(channel.Id) +
                        ", \"name\": " + JsonString(channel.Name) + ", \"type\": \"integer\", \"value\": " +
                        std::to_string(channel.Value) + "}";
        }
        document += "]";
    }
    return document + "}\n";
}

// Characters, as PRTG counts the message's room.
std::size_t Characters(const std::string& text) {
    const std::string valid = ValidUtf8(text);
    std::size_t count = 0;
    for (char c : valid) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

// The message with a system's critical names after it, as far as the room allows.
void AddNames(std::string& message, const std::string& lead, const CriticalNames& names) {
    const std::size_t used = Characters(message) + Characters(lead);
    if (used >= ScriptV2MessageRoom) return;
    const std::string note = NamesNote(names, true, ScriptV2MessageRoom - used, Characters);
    if (!note.empty()) message += lead + note;
}

std::string Grouped(long long value) {
    std::string digits = std::to_string(value);
    GroupDigits(digits);
    return digits;
}

std::string SingleSystem(const RunReport& report, const ThresholdsRecord& thresholds) {
    const SystemResult& system = report.Systems[0];
    std::vector<JsonChannel> channels;
    int level = 0;
    for (std::size_t index = 0; index < ChannelCount; ++index) {
        channels.push_back(JsonChannel{FirstChannelId + static_cast<long long>(index), ChannelNames[index],
                                       system.Values[index]});
        level = std::max(level, JudgedChannelLevel(thresholds, static_cast<long>(index + 1), static_cast<double>(system.Values[index])));
    }
    std::string message = "(" + system.Destination + ") Oracle: Critical_Spaces=" + Grouped(system.Values[0]) +
                          ", Critical_Objects=" + Grouped(system.Values[1]);
    AddNames(message, "; ", system.Names);
    return Document(level, message, channels, true);
}

std::string MultiSystem(const RunReport& report, const ThresholdsRecord& thresholds) {
    std::vector<JsonChannel> channels;
    std::set<long long> taken;
    std::string failures, beyond;
    std::size_t beyondCount = 0;
    int level = 0;
    long number = 0;
    const std::size_t item = ChannelIndex(report.Item);
    for (const SystemResult& system : report.Systems) {
        if (!system.Measured) {
            failures += "; " + system.Label + ": " + system.Failure;
            level = std::max(level, 1);
            continue;
        }
        if (item == ChannelCount) continue;
        const long long value = system.Values[item];
        level = std::max(level, JudgedChannelLevel(thresholds, ++number, static_cast<double>(value)));
        if (channels.size() == ScriptV2ChannelRoom) {
            beyond += (beyond.empty() ? "" : ", ") + system.Label;
            ++beyondCount;
            continue;
        }
        // Two labels of one id: the later in the listing takes the next free one.
        long long id = SystemChannelId(system.Label);
        while (taken.count(id) > 0) id = id == 2147483647LL ? SystemChannelIdBase : id + 1;
        taken.insert(id);
        channels.push_back(JsonChannel{id, system.Label, value});
    }
    std::string message = "(***) " + report.Item + ": NoSystems=" + std::to_string(report.NoSystems) +
                          ", Processed=" + std::to_string(report.Processed) +
                          ", Failed=" + std::to_string(report.Failed);
    if (!report.RunError.empty()) {
        message = report.RunError + " - " + message;
        level = 2;
    }
    if (beyondCount > 0) {
        message += "; " + std::to_string(beyondCount) + " systems beyond PRTG's " +
                   std::to_string(ScriptV2ChannelRoom) + " channels: " + beyond;
        level = std::max(level, 1);
    }
    message += failures;
    for (const SystemResult& system : report.Systems)
        if (system.Measured) AddNames(message, "; " + system.Label + ": ", system.Names);
    return Document(level, message, channels, report.RunError.empty() || !channels.empty());
}

}  // namespace

long long SystemChannelId(const std::string& label) {
    // FNV-1a: the same label gives the same id on every machine and in every run.
    unsigned long long hash = 14695981039346656037ULL;
    for (unsigned char c : label) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return SystemChannelIdBase + static_cast<long long>(hash % (2147483647ULL - SystemChannelIdBase + 1));
}

std::string JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (char c : ValidUtf8(text)) {
        switch (c) {
            case '"': quoted += "\\\""; break;
            case '\\': quoted += "\\\\"; break;
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            case '\t': quoted += "\\t"; break;
            default:
                if (c >= '\0' && c < ' ') {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    quoted += escaped;
                } else {
                    quoted += c;
                }
        }
    }
    return quoted + "\"";
}

std::string ScriptV2Document(const RunReport& report, const ThresholdsRecord& thresholds) {
    if (report.MultiSystem) return MultiSystem(report, thresholds);
    const std::string error = SingleSystemFailure(report);
    if (!error.empty()) return Document(2, error, {}, false);
    return SingleSystem(report, thresholds);
}

// PRTG reads a Script v2 document only after exit code 0: its status says the rest.
std::unique_ptr<ReportWriter> MakeScriptV2Writer(const RunSettingsRecord& settings) {
    return MakeWholeReportWriter(settings, {ScriptV2Document, [](const RunReport&) { return 0; }});
}
