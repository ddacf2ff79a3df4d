#include "Text.h"

#include <charconv>
#include <cstring>

namespace rfcsim {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

std::string Trim(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string TrimRight(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ') {
        --end;
    }
    return std::string(text.substr(0, end));
}

bool SameIgnoringTrailingBlanks(std::string_view a, std::string_view b)
{
    return TrimRight(a) == TrimRight(b);
}

std::string CallerText(const char* text, std::size_t limit)
{
    if (text == nullptr) {
        return std::string();
    }
    return std::string(text, strnlen(text, limit));
}

std::string EntryName(const void* name, unsigned nlen)
{
    return CallerText(static_cast<const char*>(name), nlen < kMaxCallerText ? nlen : kMaxCallerText);
}

std::string Angled(const char* text)
{
    if (text == nullptr) {
        return "(null)";
    }
    return "<" + CallerText(text) + ">";
}

std::string Masked(std::string_view password)
{
    std::size_t shown = password.find_last_not_of(' ');
    shown = shown == std::string_view::npos ? 0 : shown + 1;
    return std::string(shown, '*') + std::string(password.substr(shown));
}

std::string WithPasswordMasked(std::string_view connect)
{
    std::string masked(connect);
    for (std::size_t word = 0; word < masked.size();) {
        std::size_t end = masked.find_first_of(" \t", word);
        if (end == std::string::npos) end = masked.size();
        if (masked.compare(word, 7, "PASSWD=") == 0 && end >= word + 7) {
            masked.replace(word + 7, end - word - 7, std::string(end - word - 7, '*'));
        }
        word = end + 1;
    }
    return masked;
}

void CopyToField(char* to, std::size_t size, std::string_view from)
{
    if (to == nullptr || size == 0) {
        return;
    }
    std::size_t count = from.size() < size - 1 ? from.size() : size - 1;
    std::memcpy(to, from.data(), count);
    to[count] = '\0';
}

std::vector<std::string> SplitWords(std::string_view text)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) {
            ++i;
        }
        if (i > start) {
            words.emplace_back(text.substr(start, i - start));
        }
    }
    return words;
}

bool ParseInt(std::string_view text, long long& value)
{
    if (text.empty()) {
        return false;
    }
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+') {
        ++first;
    }
    auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

}  // namespace rfcsim
