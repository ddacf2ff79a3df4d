#include "UcText.h"

#include <cstdint>
#include <cstdio>

namespace nwrfcsim {

namespace {

// Code page 1252 from 0x80 to 0x9F; the unassigned bytes keep their number.
const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendCodePoint(UcString& out, std::uint32_t code)
{
    if (code < 0x10000) {
        out.push_back(static_cast<nw::SAP_UC>(code));
        return;
    }
    code -= 0x10000;
    out.push_back(static_cast<nw::SAP_UC>(0xD800 + (code >> 10)));
    out.push_back(static_cast<nw::SAP_UC>(0xDC00 + (code & 0x3FF)));
}

// Strict UTF-8 (shortest forms, no surrogates, at most U+10FFFF); false
// when the text is not valid or holds nothing above U+007F.
bool DecodeUtf8(std::string_view text, UcString& out)
{
    bool wide = false;
    for (std::size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out.push_back(byte);
            ++i;
            continue;
        }
        unsigned extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
        if (extra == 0 || byte > 0xF4 || extra >= text.size() - i) return false;
        std::uint32_t code = byte & (0x3F >> extra);
        for (unsigned k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        static const std::uint32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        AppendCodePoint(out, code);
        wide = true;
        i += extra + 1;
    }
    return wide;
}

}  // namespace

UcString Uc(std::string_view text)
{
    bool ascii = true;
    for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return UcString(text.begin(), text.end());
    UcString utf8;
    if (DecodeUtf8(text, utf8)) {
        return utf8;
    }
    UcString out;
    out.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        out.push_back(byte >= 0x80 && byte < 0xA0 ? static_cast<nw::SAP_UC>(kCp1252High[byte - 0x80])
                                                  : static_cast<nw::SAP_UC>(byte));
    }
    return out;
}

UcString CallerUc(const nw::SAP_UC* text, std::size_t limit)
{
    UcString out;
    if (text == nullptr) {
        return out;
    }
    while (out.size() < limit && text[out.size()] != 0) {
        out.push_back(text[out.size()]);
    }
    return out;
}

std::string Shown(std::u16string_view text)
{
    std::string out;
    for (char16_t unit : text) {
        if (unit >= 0x20 && unit < 0x7F) {
            out.push_back(static_cast<char>(unit));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
            out += escaped;
        }
    }
    return out;
}

std::string Shown(const UcString& text)
{
    std::u16string units(text.begin(), text.end());
    return Shown(std::u16string_view(units));
}

void CopyUc(nw::SAP_UC* field, std::size_t size, const UcString& text)
{
    if (field == nullptr || size == 0) {
        return;
    }
    std::size_t count = text.size() < size - 1 ? text.size() : size - 1;
    for (std::size_t i = 0; i < count; ++i) {
        field[i] = text[i];
    }
    field[count] = 0;
}

}  // namespace nwrfcsim
