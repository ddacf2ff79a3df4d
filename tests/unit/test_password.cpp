#include <doctest/doctest.h>

#include <string>
#include <utility>

#include "config/Password.h"

namespace {

bool PrintableLine(const std::string& stored) {
    for (char c : stored)
        if (c < 0x20 || c > 0x7E) return false;
    return true;
}

// Every printable character in turn, starting at `first`.
std::string PrintableRun(std::size_t length, int first) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) text.push_back(static_cast<char>(0x20 + (first + i * 7) % 95));
    return text;
}

// Changes one decoded header digit without knowing the key: the stored
// character is the digit combined with a key byte, so the difference carries over.
void ReplaceHeaderDigit(std::string& stored, std::size_t position, char from, char to) {
    stored[position] = static_cast<char>(stored[position] ^ from ^ to);
}

}  // namespace

TEST_CASE("every password of 1 to 20 printable characters survives scrambling at every offset that takes it") {
    int refused = 0;
    for (std::size_t length = 1; length <= PasswordBodyLength; ++length) {
        for (int first = 0; first < 95; first += 3) {
            const std::string password = PrintableRun(length, first);
            bool someOffsetTakesIt = false;
            for (int offset = 0; offset <= 9; ++offset) {
                const std::string stored = EncodePassword(password, offset);
                if (stored.empty()) {
                    ++refused;
                    continue;
                }
                someOffsetTakesIt = true;
                CAPTURE(password);
                CAPTURE(offset);
                CHECK(stored.size() == StoredPasswordLength);
                CHECK(PrintableLine(stored));
                std::string decoded = "previous";
                CHECK(DecodePassword(stored, decoded) == PasswordFault::None);
                CHECK(decoded == password);
            }
            CHECK(someOffsetTakesIt);
        }
    }
    // Only a lower-block character meeting its key byte is refused, so most pass.
    CHECK(refused < 20 * 32 * 10 / 4);
}

TEST_CASE("passwords without characters from the lower-case block are taken at every offset") {
    const std::string passwords[] = {"A", "SECRET12", " !\"#$%&'()*+,-./0123", "@ABCDEFGHIJKLMNOPQRS", "TUVWXYZ[\\]^_?>=<;:9"};
    for (const std::string& password : passwords)
        for (int offset = 0; offset <= 9; ++offset) {
            std::string decoded;
            const std::string stored = EncodePassword(password, offset);
            CHECK(PrintableLine(stored));
            CHECK(DecodePassword(stored, decoded) == PasswordFault::None);
            CHECK(decoded == password);
        }
}

TEST_CASE("the encoder refuses what cannot be stored") {
    CHECK(EncodePassword("", 0).empty());
    CHECK(EncodePassword(std::string(21, 'A'), 0).empty());
    CHECK(EncodePassword("tab\there", 0).empty());
    CHECK(EncodePassword("del\x7F", 0).empty());
    CHECK(EncodePassword("ABC", -1).empty());
    CHECK(EncodePassword("ABC", 10).empty());
}

TEST_CASE("decoding faults, lengths and dropped characters") {
    const std::string good = EncodePassword("Secret12", 3);
    REQUIRE(good.size() == StoredPasswordLength);

    struct Case {
        const char* what;
        std::string stored;
        PasswordFault fault;
        std::string password;  // "previous" when the decoder must leave it alone
    };
    std::string noLength = good, oneLong = good, twentyFive = good, badHeader = good, badCheck = good;
    ReplaceHeaderDigit(noLength, 3, '8', '0');
    ReplaceHeaderDigit(oneLong, 3, '8', '1');
    ReplaceHeaderDigit(twentyFive, 2, '0', '2');
    ReplaceHeaderDigit(twentyFive, 3, '8', '5');
    badHeader[1] = static_cast<char>(badHeader[1] ^ 0x40);
    badCheck[0] = static_cast<char>(badCheck[0] ^ 1);  // another digit, never the right one

    const Case cases[] = {
        {"sound value", good, PasswordFault::None, "Secret12"},
        {"empty value", "", PasswordFault::None, ""},
        {"23 characters", good.substr(0, 23), PasswordFault::InvalidForm, "previous"},
        {"25 characters still decode", good + "X", PasswordFault::InvalidForm, "Secret12"},
        {"header not four digits", badHeader, PasswordFault::InvalidForm, "previous"},
        {"check digit off", badCheck, PasswordFault::WrongPassword, "previous"},
        {"length 00", noLength, PasswordFault::None, ""},
        {"length 01", oneLong, PasswordFault::None, "S"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        std::string password = "previous";
        CHECK(DecodePassword(c.stored, password) == c.fault);
        CHECK(password == c.password);
    }

    std::string whole;
    CHECK(DecodePassword(twentyFive, whole) == PasswordFault::None);
    CHECK(whole.size() == PasswordBodyLength);
    CHECK(whole.substr(0, 8) == "Secret12");
}

TEST_CASE("a body character that decodes to zero is dropped and the rest moves up") {
    // "d" (code 100) adds nothing to the check digit; it stands first and then
    // last in the body.
    const std::pair<std::string, std::size_t> cases[] = {{"dABC", 4}, {"AdBC", 23}};
    for (const auto& [password, position] : cases) {
        CAPTURE(password);
        std::string stored = EncodePassword(password, 0);
        REQUIRE(stored.size() == StoredPasswordLength);
        stored[position] = static_cast<char>(stored[position] ^ 'd');
        std::string decoded;
        CHECK(DecodePassword(stored, decoded) == PasswordFault::None);
        CHECK(decoded.size() == 4);
        CHECK(decoded.substr(0, 3) == "ABC");
    }
}
