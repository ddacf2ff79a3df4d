#include <doctest/doctest.h>

#include <string>

#include "ConfigTestFiles.h"
#include "config/Password.h"
#include "config/SystemProfile.h"

namespace {

std::string Line(const std::string& key, const std::string& value) { return key + " " + value + "\n"; }

std::string StoredPassword(const std::string& password) {
    return EncodePassword(password, 2);
}

// A sound profile, one line per entry; `replace` swaps the line of one key.
std::string Profile(const std::string& key = "", const std::string& replacement = "") {
    const std::string lines[][2] = {
        {"Extcompany.:", "Example Trading"}, {"Destination:", "PRD"},       {"Client.....:", "100"},
        {"User.......:", "ddic"},            {"Password...:", StoredPassword("Secret12")},
        {"Language...:", "E"},               {"Mode.......:", "R/3"},       {"Hostname...:", "sapprd01"},
        {"Sysnr......:", "00"},              {"Gwhost.....:", "sapgw01"},   {"Gwservice..:", "sapgw00"},
    };
    std::string text = "* system profile\n";
    for (const auto& line : lines) {
        if (line[0] == key)
            text += replacement;
        else
            text += Line(line[0], line[1]);
    }
    return text;
}

// The entries the readers fill, kept from one read to the next as a listing keeps them.
LogonEntriesRecord LogonEntries;
void ResetLogonEntries() { LogonEntries = LogonEntriesRecord{}; }

std::string ReadSingle(const std::string& contents) {
    ScratchFile file("single.P00", contents);
    TextFile profile;
    REQUIRE(profile.Open(file.Name()));
    ResetLogonEntries();
    std::string message = ReadSystemProfile(LogonEntries, profile, "PRD.P00");
    CHECK_FALSE(profile.IsOpen());
    return message;
}

bool ReadListed(const std::string& contents) {
    ScratchFile file("listed.P00", contents);
    TextFile profile;
    REQUIRE(profile.Open(file.Name()));
    bool faulty = ReadListedProfile(LogonEntries, profile);
    CHECK_FALSE(profile.IsOpen());
    return faulty;
}

const std::string Invalid1003 = "Error 1003: Invalid Parameter(s) at PRD.P00 found...";

}  // namespace

TEST_CASE("a sound profile fills every entry") {
    CHECK(ReadSingle(Profile()) == "");
    CHECK(LogonEntries.Extcompany == "Example Trading");
    CHECK(LogonEntries.User == "DDIC");
    CHECK(LogonEntries.Password == "Secret12");
    CHECK(LogonEntries.Hostname == "sapprd01");
    CHECK(LogonEntries.DisplayedHostname == "sapprd01");
    CHECK(LogonEntries.Gwservice == "sapgw00");
}

TEST_CASE("the same profile with CR LF line ends reads the same") {
    std::string text = Profile();
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    CHECK(ReadSingle(crlf) == "");
    CHECK(LogonEntries.Client == "100");
    CHECK(LogonEntries.Gwservice == "sapgw00");
}

TEST_CASE("single-system reader: messages and values") {
    const std::string password = Line("Password...:", StoredPassword("Secret12"));
    std::string wrong = StoredPassword("Secret12");
    wrong[0] = static_cast<char>(wrong[0] ^ 1);
    struct Case {
        const char* what;
        std::string contents;
        std::string message;
    };
    const Case cases[] = {
        {"empty file", "", "Error 1006: Username in Profile PRD.P00 is missing..."},
        {"user missing", Profile("User.......:"), "Error 1006: Username in Profile PRD.P00 is missing..."},
        {"user empty", Profile("User.......:", "User.......:\n"), "Error 1006: Username in Profile PRD.P00 is missing..."},
        {"password missing", Profile("Password...:"), "Error 1007: Password in Profile PRD.P00 is missing..."},
        {"password of 23", Profile("Password...:", Line("Password...:", StoredPassword("Secret12").substr(1))),
         "Error 1004: Invalid Password in Profile PRD.P00 found..."},
        {"check digit off", Profile("Password...:", Line("Password...:", wrong)),
         "Error 1005: Wrong Password in Profile PRD.P00 found..."},
        {"password of one", Profile("Password...:", Line("Password...:", StoredPassword("S"))), Invalid1003},
        {"no Extcompany", Profile("Extcompany.:"), Invalid1003},
        {"column 13 is skipped", Profile("Client.....:", "Client.....:100\n"), Invalid1003},
        {"key in lower case", Profile("Client.....:", "client.....: 100\n"), Invalid1003},
        {"key a dot short", Profile("Client.....:", "Client....: 100\n"), Invalid1003},
        {"destination of 12", Profile("Destination:", Line("Destination:", "PRD456789012")), Invalid1003},
        {"destination of 11", Profile("Destination:", Line("Destination:", "PRD45678901")), ""},
        {"user of 48", Profile("User.......:", Line("User.......:", std::string(48, 'u'))), Invalid1003},
        {"later short client wins", Profile("Client.....:", Line("Client.....:", "100") + Line("Client.....:", "1")),
         Invalid1003},
        {"later sound client wins", Profile("Client.....:", Line("Client.....:", "1") + Line("Client.....:", "100")), ""},
        {"user before password", Line("Client.....:", "1"), "Error 1006: Username in Profile PRD.P00 is missing..."},
        {"password before lengths", Line("User.......:", "ddic") + Line("Client.....:", "1"),
         "Error 1007: Password in Profile PRD.P00 is missing..."},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        CHECK(ReadSingle(c.contents) == c.message);
    }
}

TEST_CASE("values are taken from column 14, whole, at most 60 characters") {
    const std::string seventy(70, 'x');
    CHECK(ReadSingle(Profile("Extcompany.:", Line("Extcompany.:", seventy))) == "");
    CHECK(LogonEntries.Extcompany == seventy.substr(0, 60));

    CHECK(ReadSingle(Profile("Client.....:", "Client.....:  100 \n")) == "");
    CHECK(LogonEntries.Client == " 100 ");

    CHECK(ReadSingle(Profile("User.......:", Line("User.......:", "ddic_Ä1"))) == "");
    CHECK(LogonEntries.User == "DDIC_Ä1");

    // A Gwhost of 61 is cut to 60 on reading and then fits its room.
    CHECK(ReadSingle(Profile("Gwhost.....:", Line("Gwhost.....:", std::string(61, 'g')))) == "");
    CHECK(LogonEntries.Gwhost.size() == 60);
}

TEST_CASE("line pieces: 159 characters for the single-system reader, 199 for the listing reader") {
    const std::string longLine = std::string(159, '*') + "Client.....: 777\n";
    CHECK(ReadSingle(Profile() + longLine) == "");
    CHECK(LogonEntries.Client == "777");

    ResetLogonEntries();
    CHECK_FALSE(ReadListed(Profile() + longLine));
    CHECK(LogonEntries.Client == "100");
    CHECK_FALSE(ReadListed(Profile() + std::string(199, '*') + "Client.....: 777\n"));
    CHECK(LogonEntries.Client == "777");
}

TEST_CASE("the single-system reader stops at a password fault") {
    std::string wrong = StoredPassword("Secret12");
    wrong[0] = static_cast<char>(wrong[0] ^ 1);
    ResetLogonEntries();
    ScratchFile file("stops.P00", Line("Password...:", wrong) + Line("Gwhost.....:", "later"));
    TextFile profile;
    REQUIRE(profile.Open(file.Name()));
    CHECK(ReadSystemProfile(LogonEntries, profile, "QAS.P00") == "Error 1005: Wrong Password in Profile QAS.P00 found...");
    CHECK(LogonEntries.Gwhost == "");
}

TEST_CASE("listing reader: fault flag, carry-over and password outcomes") {
    ResetLogonEntries();
    CHECK_FALSE(ReadListed(Profile()));

    SUBCASE("an entry a later profile does not name keeps its value") {
        CHECK_FALSE(ReadListed(Profile("Gwhost.....:") + Line("Destination:", "QAS")));
        CHECK(LogonEntries.Gwhost == "sapgw01");
        CHECK(LogonEntries.Destination == "QAS");
    }
    SUBCASE("after a wrong password the entry stays and reading goes on") {
        std::string wrong = StoredPassword("Other123");
        wrong[0] = static_cast<char>(wrong[0] ^ 1);
        CHECK(ReadListed(Profile("Password...:", Line("Password...:", wrong)) + Line("Client.....:", "200")));
        CHECK(LogonEntries.Password == "Secret12");
        CHECK(LogonEntries.Client == "200");
    }
    SUBCASE("an invalid but decodable value is still stored") {
        CHECK(ReadListed(Profile("Password...:", Line("Password...:", StoredPassword("Other123") + "X"))));
        CHECK(LogonEntries.Password == "Other123");
    }
    SUBCASE("a value beyond its room is kept whole and makes the profile faulty") {
        CHECK(ReadListed(Profile("Client.....:", Line("Client.....:", "100456789012"))));
        CHECK(LogonEntries.Client == "100456789012");
    }
    SUBCASE("an empty password line empties the password") {
        CHECK(ReadListed(Profile("Password...:", "Password...:\n")));
        CHECK(LogonEntries.Password == "");
    }
}
