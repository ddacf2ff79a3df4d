#include "output/Console.h"

#include "output/StandardOutput.h"

std::string FieldLine(const std::string& key, int indent, int width, const std::string& value) {
    std::string line(indent > 0 ? static_cast<std::size_t>(indent) : 0, ' ');
    line += key;
    if (width > 0 && key.size() < static_cast<std::size_t>(width)) line.append(width - key.size(), ' ');
    line += " : ";
    line += value;
    line += "\n";
    return line;
}

void PrintField(const std::string& key, int indent, int width, const std::string& value) {
    WriteOut(FieldLine(key, indent, width, value));
}

void GroupDigits(std::string& digits) {
    std::size_t length = digits.size();
    if (length <= 3) return;
    if (length <= 6) {
        digits = digits.substr(0, length - 3) + "." + digits.substr(length - 3);
        return;
    }
    digits = digits.substr(0, length - 6) + "." + digits.substr(length - 6, 3) + "." + digits.substr(length - 3);
}

std::string ConsoleLine(const std::string& text) { return text.substr(0, ConsoleLineRoom); }
