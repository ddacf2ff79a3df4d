// Texts for the hosts that read UTF-8 (Checkmk, PRTG's Script v2 JSON,
// Prometheus): a profile written on Windows may hold bytes of code page 1252.
#pragma once

#include <string>
#include <string_view>

// Valid UTF-8 sequences stay; any other byte from 0xA0 becomes the character
// of that number (as code page 1252 and Latin-1 mean it), any other from 0x80
// U+FFFD, the replacement character.
std::string ValidUtf8(std::string_view text);

// At most `characters` characters of a valid UTF-8 text, never cutting one in two.
std::string FirstCharacters(const std::string& text, std::size_t characters);
