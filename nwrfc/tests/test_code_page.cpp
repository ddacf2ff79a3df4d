// Code page 1252 both ways: what the adapter hands SAP's library and what it
// makes of the library's UTF-16.
#include "doctest.h"

#include "CodePage.h"

using nwrfc::FromCp1252;
using nwrfc::ToCp1252;

TEST_CASE("bytes and their characters")
{
    struct Pair {
        unsigned char byte;
        char16_t unit;
    };
    const Pair pairs[] = {
        {0x41, u'A'},      {0x00, u'\0'},     {0x7F, u'\x7F'},  {0x80, u'\u20AC'}, {0x8A, u'\u0160'},
        {0x9F, u'\u0178'}, {0xA0, u'\u00A0'}, {0xE4, u'\u00E4'}, {0xFF, u'\u00FF'},
        // the five bytes 1252 leaves unassigned stay the C1 controls of their number
        {0x81, u'\u0081'}, {0x8D, u'\u008D'}, {0x8F, u'\u008F'}, {0x90, u'\u0090'}, {0x9D, u'\u009D'},
    };
    for (const Pair& pair : pairs) {
        CAPTURE(static_cast<int>(pair.byte));
        std::string byte(1, static_cast<char>(pair.byte));
        CHECK(FromCp1252(byte) == std::u16string(1, pair.unit));
        CHECK(ToCp1252(std::u16string(1, pair.unit)) == byte);
    }
}

TEST_CASE("every byte goes both ways unchanged")
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    CHECK(FromCp1252(all).size() == 256);
    CHECK(ToCp1252(FromCp1252(all)) == all);
}

TEST_CASE("a character without an 8-bit form becomes one #")
{
    struct Case {
        const char* what;
        std::u16string text;
        std::string bytes;
    };
    const Case cases[] = {
        {"Cyrillic", u"\u0416x", "#x"},
        {"a C1 control that 1252 assigns elsewhere", u"\u0080", "#"},
        {"the replacement character", u"\uFFFD", "#"},
        {"a surrogate pair is one character", u"a\U0001F600b", "a#b"},
        {"an unpaired high surrogate", std::u16string(1, char16_t(0xD800)) + u"z", "#z"},
        {"an unpaired low surrogate", std::u16string(1, char16_t(0xDC00)), "#"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        CHECK(ToCp1252(c.text) == c.bytes);
    }
}
