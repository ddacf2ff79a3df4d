// Stored passwords of arbitrary bytes decode to at most 20 characters, and
// whatever the profile tool stores for a password decodes back to it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "config/Password.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    std::string password = "kept";
    DecodePassword(input, password);
    Expect(password.size() <= PasswordBodyLength, "a decoded password of at most 20 characters");

    if (input.empty()) return 0;
    const int offset = static_cast<unsigned char>(input[0]) % 10;
    const std::string plain = input.substr(1);
    const std::string stored = EncodePassword(plain, offset);
    if (stored.empty()) return 0;
    Expect(stored.size() == StoredPasswordLength, "a stored password of 24 characters");
    std::string decoded;
    Expect(DecodePassword(stored, decoded) == PasswordFault::None, "a stored password decodes");
    Expect(decoded == plain, "a stored password decodes to what was stored");
    return 0;
}
