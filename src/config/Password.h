// The scrambled form of a profile password: a 4-character header and a
// 20-character body, combined with a 32-byte key built in memory.
#pragma once

#include <string>

constexpr std::size_t StoredPasswordLength = 24;
constexpr std::size_t PasswordBodyLength = 20;

// Builds the scrambling key in memory; called once at start-up.
void BuildScramblingKey();

enum class PasswordFault { None, InvalidForm, WrongPassword };

// Decodes a stored value. On InvalidForm `password` still holds what the body
// decodes to; on WrongPassword it is left unchanged.
PasswordFault DecodePassword(const std::string& stored, std::string& password);

// Forms the stored value of a password of at most 20 printable ASCII
// characters at key offset 0 to 9 (the profile tool's side).
std::string EncodePassword(const std::string& password, int offset);
