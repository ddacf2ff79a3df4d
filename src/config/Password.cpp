#include "config/Password.h"

#include <cstddef>

namespace {

constexpr std::size_t KeyLength = 32;
constexpr std::size_t HeaderLength = 4;
constexpr int HighestOffset = 9;
constexpr char Delete = 0x7F;

// The key is never kept in one piece in the program image: each byte is mixed
// from these two rows when it is used.
constexpr unsigned char KeyRowA[8] = {0x13, 0x05, 0x1C, 0x0A, 0x17, 0x02, 0x0E, 0x19};
constexpr unsigned char KeyRowB[4] = {0x07, 0x1D, 0x0B, 0x14};

// Every byte lies in 0x01..0x1F, so a printable character stays inside its
// block of 32 and a stored value stays a line of ordinary text.
unsigned char KeyByte(std::size_t i) {
    const unsigned mixed = KeyRowA[i % 8] * 7u + KeyRowB[i / 8 % 4] * 13u + static_cast<unsigned>(i) * 11u;
    return static_cast<unsigned char>(1 + mixed % 31);
}

// Filler characters are digits and capitals only: combined with any key byte
// (0x01 to 0x1F) they stay printable and never become DEL.
constexpr char FillerAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::size_t FillerAlphabetLength = sizeof FillerAlphabet - 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLetterOrDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int CheckDigitOf(const std::string& plain) {
    unsigned sum = 0;
    for (char c : plain)
        if (IsLetterOrDigit(c)) sum += static_cast<unsigned char>(c);
    return static_cast<int>(sum % 10);
}

char Combine(char c, std::size_t keyOffset) {
    return static_cast<char>(static_cast<unsigned char>(c) ^ KeyByte(keyOffset % KeyLength));
}

}  // namespace

PasswordFault DecodePassword(const std::string& stored, std::string& password) {
    if (stored.empty()) {
        password.clear();
        return PasswordFault::None;
    }

    std::string header;
    for (std::size_t i = 0; i < HeaderLength && i < stored.size(); ++i) header.push_back(Combine(stored[i], i));
    bool headerIsDigits = header.size() == HeaderLength;
    for (char c : header)
        if (!IsDigit(c)) headerIsDigits = false;

    PasswordFault fault = PasswordFault::None;
    if (stored.size() != StoredPasswordLength || !headerIsDigits) fault = PasswordFault::InvalidForm;
    // Without four digits there is no key offset and no length to decode with.
    if (!headerIsDigits) return fault;

    const std::size_t offset = static_cast<std::size_t>(header[1] - '0');
    const std::size_t length = static_cast<std::size_t>((header[2] - '0') * 10 + (header[3] - '0'));

    // A value of the wrong length is decoded from the body characters it has.
    char body[PasswordBodyLength] = {};
    for (std::size_t i = 0; i < PasswordBodyLength && HeaderLength + i < stored.size(); ++i)
        body[i] = Combine(stored[HeaderLength + i], offset + i);

    // The body holds the text folded from both ends; a zero byte is no character.
    std::string plain;
    for (std::size_t j = 0; j < PasswordBodyLength / 2; ++j) {
        if (body[j] != 0) plain.push_back(body[j]);
        if (body[PasswordBodyLength - 1 - j] != 0) plain.push_back(body[PasswordBodyLength - 1 - j]);
    }

    if (CheckDigitOf(plain) != header[0] - '0')
        return fault == PasswordFault::InvalidForm ? fault : PasswordFault::WrongPassword;

    password = plain.substr(0, length);
    return fault;
}

std::string EncodePassword(const std::string& password, int offset) {
    if (offset < 0 || offset > HighestOffset) return "";
    if (password.empty() || password.size() > PasswordBodyLength) return "";
    unsigned seed = static_cast<unsigned>(offset) * 3u;
    for (char c : password) {
        if (c < 0x20 || c > 0x7E) return "";
        seed += static_cast<unsigned char>(c);
    }

    std::string plain = password;
    for (std::size_t j = 0; plain.size() < PasswordBodyLength; ++j)
        plain.push_back(FillerAlphabet[(seed + 7 * j) % FillerAlphabetLength]);

    const std::size_t length = password.size();
    const char header[HeaderLength] = {static_cast<char>('0' + CheckDigitOf(plain)), static_cast<char>('0' + offset),
                                       static_cast<char>('0' + length / 10), static_cast<char>('0' + length % 10)};

    char body[PasswordBodyLength];
    for (std::size_t j = 0; j < PasswordBodyLength / 2; ++j) {
        body[j] = plain[2 * j];
        body[PasswordBodyLength - 1 - j] = plain[2 * j + 1];
    }

    std::string stored;
    for (std::size_t i = 0; i < HeaderLength; ++i) stored.push_back(Combine(header[i], i));
    for (std::size_t i = 0; i < PasswordBodyLength; ++i)
        stored.push_back(Combine(body[i], static_cast<std::size_t>(offset) + i));

    // A DEL would not survive every editor; that offset cannot hold this password.
    for (char c : stored)
        if (c == Delete) return "";
    return stored;
}
