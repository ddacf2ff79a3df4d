#include "config/RunSettings.h"

RunSettingsRecord RunSettings;
std::string RunStatus = "ERR";
std::string SystemLabel;
char FaultFlag = '.';
char ReportedFlag = '.';

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool ParameterHas(const std::string& keyword) { return RunSettings.ParameterText.find(keyword) != std::string::npos; }

std::string OptionValueAt(const std::string& keyword, std::size_t maxLength, const std::string& stopCharacters) {
    std::size_t position = RunSettings.ParameterText.find(keyword);
    if (position == std::string::npos) return "";
    const std::string& given = RunSettings.ParameterTextAsGiven;
    std::size_t start = position + keyword.size();
    if (start >= given.size()) return "";
    std::string value = given.substr(start, maxLength);
    std::size_t stop = value.find_first_of(stopCharacters);
    if (stop != std::string::npos) value.resize(stop);
    return value;
}
