#include "config/RunSettings.h"

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

namespace {

// Where the keyword's value begins in the options, or npos when they do not hold it.
std::size_t ValueStart(const RunSettingsRecord& settings, const std::string& keyword) {
    const std::string& text = settings.ParameterText;
    if (!settings.WholeWordOptions) {
        const std::size_t position = text.find(keyword);
        return position == std::string::npos ? position : position + keyword.size();
    }
    const std::string word = !keyword.empty() && keyword[0] == ',' ? keyword.substr(1) : keyword;
    for (std::size_t position = text.find(word); position != std::string::npos; position = text.find(word, position + 1))
        if (position == 0 || text[position - 1] == ',' || text[position - 1] == ' ') return position + word.size();
    return std::string::npos;
}

}  // namespace

bool RunSettingsRecord::Has(const std::string& keyword) const { return ValueStart(*this, keyword) != std::string::npos; }

std::string RunSettingsRecord::ValueAt(const std::string& keyword, std::size_t maxLength,
                                       const std::string& stopCharacters) const {
    const std::size_t start = ValueStart(*this, keyword);
    if (start == std::string::npos) return "";
    const std::string& given = ParameterTextAsGiven;
    if (start >= given.size()) return "";
    std::string value = given.substr(start, maxLength);
    std::size_t stop = value.find_first_of(stopCharacters);
    if (stop != std::string::npos) value.resize(stop);
    return value;
}
