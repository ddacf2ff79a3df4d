#include "config/RunSettings.h"

RunSettingsRecord RunSettings;

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

namespace {

// Where the keyword's value begins in the options, or npos when they do not hold it.
std::size_t ValueStart(const std::string& keyword) {
    const std::string& text = RunSettings.ParameterText;
    if (!RunSettings.WholeWordOptions) {
        const std::size_t position = text.find(keyword);
        return position == std::string::npos ? position : position + keyword.size();
    }
    const std::string word = !keyword.empty() && keyword[0] == ',' ? keyword.substr(1) : keyword;
    for (std::size_t position = text.find(word); position != std::string::npos; position = text.find(word, position + 1))
        if (position == 0 || text[position - 1] == ',' || text[position - 1] == ' ') return position + word.size();
    return std::string::npos;
}

}  // namespace

bool ParameterHas(const std::string& keyword) { return ValueStart(keyword) != std::string::npos; }

std::string OptionValueAt(const std::string& keyword, std::size_t maxLength, const std::string& stopCharacters) {
    const std::size_t start = ValueStart(keyword);
    if (start == std::string::npos) return "";
    const std::string& given = RunSettings.ParameterTextAsGiven;
    if (start >= given.size()) return "";
    std::string value = given.substr(start, maxLength);
    std::size_t stop = value.find_first_of(stopCharacters);
    if (stop != std::string::npos) value.resize(stop);
    return value;
}
