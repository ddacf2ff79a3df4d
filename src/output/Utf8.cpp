#include "output/Utf8.h"

namespace {

// The length of the valid UTF-8 sequence at `at`, or 0 when none begins there
// (no overlong forms, no surrogates, nothing beyond U+10FFFF).
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead == 0xE0) length = 3, low = 0xA0;
    else if (lead == 0xED) length = 3, high = 0x9F;
    else if (lead >= 0xE1 && lead <= 0xEF) length = 3;
    else if (lead == 0xF0) length = 4, low = 0x90;
    else if (lead >= 0xF1 && lead <= 0xF3) length = 4;
    else if (lead == 0xF4) length = 4, high = 0x8F;
    else return 0;
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    return length;
}

}  // namespace

std::string ValidUtf8(std::string_view text) {
    std::string valid;
    valid.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = SequenceLength(text, at);
        if (length > 0) {
            valid.append(text.substr(at, length));
            at += length;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(text[at++]);
        if (c >= 0xA0) {
            valid += static_cast<char>(0xC0 | (c >> 6));
            valid += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            valid += "\xEF\xBF\xBD";
        }
    }
    return valid;
}

std::string FirstCharacters(const std::string& text, std::size_t characters) {
    std::size_t at = 0;
    for (std::size_t counted = 0; at < text.size() && counted < characters; ++counted) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
    }
    return text.substr(0, at);
}
