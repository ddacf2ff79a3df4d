// The classic interface's 8-bit texts (code page 1252) and the NetWeaver
// library's UTF-16, both ways, the same on every platform.
#pragma once

#include <string>
#include <string_view>

namespace nwrfc {

// Every byte is one character; the five bytes that 1252 leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same number.
std::u16string FromCp1252(std::string_view text);

// One byte per character; a character without a form in code page 1252 (a
// surrogate pair counts as one character, an unpaired surrogate too) becomes
// "#". The C1 controls U+0081, U+008D, U+008F, U+0090 and U+009D become the
// bytes of the same number, so that every byte goes both ways unchanged.
std::string ToCp1252(std::u16string_view text);

}  // namespace nwrfc
