// The scrambled form of a profile password: a 4-character header and a
// 20-character body, combined with a 32-byte key built in memory.
#pragma once

#include <string>

constexpr std::size_t StoredPasswordLength = 24;
constexpr std::size_t PasswordBodyLength = 20;

enum class PasswordFault { None, InvalidForm, WrongPassword };

// Decodes a stored value into `password`. An empty value gives an empty
// password. InvalidForm (not 24 characters, or a header that is not four
// digits) takes precedence over WrongPassword: a value of the wrong length with
// a four-digit header is still decoded from the body characters it has, and
// `password` gets the result when the check digit matches. A header that is not
// four digits names no key offset, so `password` is then left unchanged, as it
// is on WrongPassword.
PasswordFault DecodePassword(const std::string& stored, std::string& password);

// Forms the stored value of a password of 1 to 20 printable ASCII characters
// (0x20 to 0x7E) at key offset 0 to 9 (the profile tool's side). The stored
// value is 24 printable characters. Returns an empty text for any other
// password or offset, and when a character would be stored as DEL at this
// offset (another offset may hold it).
std::string EncodePassword(const std::string& password, int offset);
