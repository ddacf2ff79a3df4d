// Texts of the NetWeaver simulator: the scenario's 8-bit texts as SAP_UC
// UTF-16, and SAP_UC texts as the journal shows them.
#ifndef NWRFCSIM_UC_TEXT_H
#define NWRFCSIM_UC_TEXT_H

#include "NwRfcInterface.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace nwrfcsim {

using UcString = std::basic_string<nw::SAP_UC>;

// A text of the scenario (or of the simulated system) in UTF-16: read as
// UTF-8 when it is valid UTF-8 with at least one character above U+007F,
// otherwise as code page 1252 with every byte one character (the five
// bytes 1252 leaves unassigned become the C1 controls of the same number).
UcString Uc(std::string_view text);

// The caller's NUL-terminated UTF-16 text, read at most up to `limit` units.
UcString CallerUc(const nw::SAP_UC* text, std::size_t limit = 1024);

// A UTF-16 text as the journal shows it: printable ASCII as it stands,
// every other unit as \uXXXX (four hexadecimal digits, lower case).
std::string Shown(std::u16string_view text);
std::string Shown(const UcString& text);

// Copies `text` into a SAP_UC field of `size` units, cut if needed and
// always NUL-terminated.
void CopyUc(nw::SAP_UC* field, std::size_t size, const UcString& text);

}  // namespace nwrfcsim

#endif
