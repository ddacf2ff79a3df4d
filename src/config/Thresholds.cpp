#include "config/Thresholds.h"

#include <cmath>
#include <cstdlib>

#include "config/RunSettings.h"


namespace {

// Channels of the single-system run: Critical_Spaces to Critical_Indexes.
constexpr long SingleSystemChannels = 5;

// A decimal number as the guidelines write them: a sign, digits and a
// fraction, no exponent.
bool ParseNumber(const std::string& text, double& number) {
    std::size_t at = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
    std::size_t digits = 0;
    bool point = false;
    for (std::size_t i = at; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            ++digits;
        else if (text[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    if (digits == 0) return false;
    number = std::strtod(text.c_str(), nullptr);
    return true;
}

std::string InvalidText(const std::string& keyword, const std::string& value) {
    return "Error 1009: Invalid " + keyword + value + " !";
}

}  // namespace

bool ParseRange(const std::string& text, ThresholdRange& range) {
    range = ThresholdRange{};
    range.Text = text;
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) {
        // "N" is 0 to N: a negative N would start past its end.
        range.Start = 0;
        range.EndText = text;
        if (!ParseNumber(text, range.End) || range.End < 0) return false;
    } else {
        const std::string start = text.substr(0, colon);
        const std::string end = text.substr(colon + 1);
        range.StartText = start;
        range.EndText = end;
        if (start == "~")
            range.FromMinusInfinity = true;
        else if (!ParseNumber(start, range.Start))
            return false;
        if (end.empty())
            range.ToInfinity = true;
        else if (!ParseNumber(end, range.End))
            return false;
        if (!range.FromMinusInfinity && !range.ToInfinity && range.Start > range.End) return false;
    }
    range.Given = true;
    return true;
}

bool OutsideRange(const ThresholdRange& range, double value) {
    if (!range.Given) return false;
    if (!range.FromMinusInfinity && value < range.Start) return true;
    if (!range.ToInfinity && value > range.End) return true;
    return false;
}

std::string RangeBreach(const ThresholdRange& range, const std::string& label, const std::string& value) {
    const bool below = !range.FromMinusInfinity && std::strtod(value.c_str(), nullptr) < range.Start;
    return label + "=" + value + (below ? " below " + range.StartText : " above " + range.EndText);
}

bool LevelFromAbove(const ThresholdRange& range, long long& level) {
    if (!range.Given || range.ToInfinity || (!range.FromMinusInfinity && range.Start > 0)) return false;
    // Beyond what a count reaches, the level stays where it is meant: never.
    if (range.End >= 9e15 || range.End <= -9e15) return false;
    // A whole number is above the end exactly when it is at least the next whole number.
    level = static_cast<long long>(std::floor(range.End)) + 1;
    return true;
}

int JudgedLevel(const ThresholdsRecord& thresholds, double value) {
    if (OutsideRange(thresholds.Critical, value)) return 2;
    if (OutsideRange(thresholds.Warning, value)) return 1;
    return 0;
}

int JudgedChannelLevel(const ThresholdsRecord& thresholds, long number, double value) {
    if (thresholds.SelectedChannel != 0 && thresholds.SelectedChannel != number) return 0;
    return JudgedLevel(thresholds, value);
}

std::string SelectThresholds(RunSettingsRecord& settings, bool multiSystemRun, bool checkmk) {
    ThresholdsRecord& Thresholds = settings.Thresholds;
    Thresholds = ThresholdsRecord{};
    const std::pair<const char*, ThresholdRange*> ranges[] = {{"WARN=", &Thresholds.Warning},
                                                              {"CRIT=", &Thresholds.Critical}};
    for (const auto& [keyword, range] : ranges) {
        if (!settings.Has(keyword)) continue;
        const std::string value = settings.ValueAt(keyword, std::string::npos, " ,");
        if (!ParseRange(value, *range)) return InvalidText(keyword, value);
    }
    if (settings.Has("CH=")) {
        // Read as the channel writer reads it: at most three characters.
        const long selected = std::atol(settings.ValueAt("CH=", 3, ",").c_str());
        const long last = multiSystemRun ? 999 : SingleSystemChannels;
        Thresholds.SelectedChannelText = settings.ValueAt("CH=", std::string::npos, " ,");
        if (selected < 1 || selected > last) return InvalidText("CH=", Thresholds.SelectedChannelText);
        Thresholds.SelectedChannel = selected;
    }
    if (checkmk && settings.Has("STATE=")) {
        const std::string value = settings.ValueAt("STATE=", std::string::npos, " ,");
        if (UpperAscii(value) != "P") return InvalidText("STATE=", value);
        Thresholds.HostJudges = true;
        long long level = 0;
        for (const auto& [keyword, range] : ranges)
            if (range->Given && !LevelFromAbove(*range, level)) return InvalidText(keyword, range->Text);
    }
    return "";
}
