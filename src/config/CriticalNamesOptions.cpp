#include "config/CriticalNamesOptions.h"

#include "config/RunSettings.h"

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Matches with "*" as any run of characters: the classic two-pointer walk,
// linear in practice and never recursive, whatever the pattern.
bool Matches(const std::string& pattern, const std::string& name) {
    std::size_t p = 0, n = 0, star = std::string::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && pattern[p] == Upper(name[n])) {
            ++p;
            ++n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string Invalid(const std::string& keyword, const std::string& value) {
    return "Error 1009: Invalid " + keyword + value + " !";
}

}  // namespace

bool TablespaceExcluded(const std::vector<std::string>& patterns, const std::string& name) {
    for (const std::string& pattern : patterns)
        if (Matches(pattern, name)) return true;
    return false;
}

std::string ExcludeText(const std::vector<std::string>& patterns) {
    std::string text;
    for (const std::string& pattern : patterns) text += (text.empty() ? "" : "+") + pattern;
    return text;
}

std::string SelectCriticalNames(RunSettingsRecord& settings) {
    CriticalNamesOptions& names = settings.Names;
    names = CriticalNamesOptions{};
    if (settings.Has("EXCLUDE=")) {
        // Read one character past the room, so that a value too long is refused, never cut.
        const std::string value = settings.ValueAt("EXCLUDE=", ExcludeRoom + 1, " ,");
        if (value.empty() || value.size() > ExcludeRoom) return Invalid("EXCLUDE=", value.substr(0, ExcludeRoom));
        std::string pattern;
        for (std::size_t at = 0; at <= value.size(); ++at) {
            if (at < value.size() && value[at] != '+') {
                pattern += Upper(value[at]);
                continue;
            }
            if (pattern.empty() || pattern.size() > ExcludePatternRoom) return Invalid("EXCLUDE=", value);
            names.Excluded.push_back(pattern);
            pattern.clear();
        }
    }
    if (settings.Has("NAMES=")) {
        const std::string value = settings.ValueAt("NAMES=", 5, " ,");
        unsigned long limit = 0;
        bool digits = !value.empty() && value.size() <= 4;
        for (char c : value) {
            digits = digits && c >= '0' && c <= '9';
            if (digits) limit = limit * 10 + static_cast<unsigned long>(c - '0');
        }
        if (!digits || limit < 1 || limit > MostNamesLimit) return Invalid("NAMES=", value);
        names.Limit = static_cast<unsigned>(limit);
        names.InPrtgText = true;
    }
    return "";
}
