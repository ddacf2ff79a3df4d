// Small text helpers of the simulator: trimming, bounded reading of caller
// texts and bounded copies into fixed records.
#ifndef RFCSIM_TEXT_H
#define RFCSIM_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rfcsim {

// Longest caller text the simulator reads (names, logon fields, connect string).
inline constexpr std::size_t kMaxCallerText = 1024;

std::string Trim(std::string_view text);
std::string TrimRight(std::string_view text);

// Equal once trailing blanks are ignored on both sides, as a system compares
// fixed-length fields.
bool SameIgnoringTrailingBlanks(std::string_view a, std::string_view b);

// The caller's NUL-terminated text, read at most up to `limit` characters.
std::string CallerText(const char* text, std::size_t limit = kMaxCallerText);

// The name of a parameter or table list entry: at most `nlen` characters,
// ending early at a NUL.
std::string EntryName(const void* name, unsigned nlen);

// "<text>" for a text, "(null)" for a null pointer: the journal's way of
// showing a text the caller passed.
std::string Angled(const char* text);

// A password as a journal shows it: a "*" for each character, trailing blanks
// kept, so that a journal tells its length and padding but never the password.
std::string Masked(std::string_view password);

// A connect string of blank-separated KEY=VALUE words with the value of
// PASSWD= masked as above.
std::string WithPasswordMasked(std::string_view connect);

// Copies `from` into a record field of `size` bytes, cut if needed and always
// NUL-terminated.
void CopyToField(char* to, std::size_t size, std::string_view from);

// The words of `text`, split at blanks and tabs.
std::vector<std::string> SplitWords(std::string_view text);

// Whole-text decimal numbers; false when the text is not one.
bool ParseInt(std::string_view text, long long& value);

}  // namespace rfcsim

#endif
