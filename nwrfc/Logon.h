// From the classic logon data to the NetWeaver library's logon parameters:
// the RfcOpen options, the RfcOpenEx connect string and the destinations of
// SapRfc.ini. Texts are the classic 8-bit texts (code page 1252).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace nwrfc {

// One parameter of RfcOpenConnection: a name as SAP's samples spell them
// (lower case) and its value.
struct LogonParameter {
    std::string name;
    std::string value;
};
using LogonParameters = std::vector<LogonParameter>;

// Words of a connect string or entries of a destination, by upper-case key.
using LogonEntries = std::map<std::string, std::string>;

// The application-server logon of RfcOpen in mode 0; texts as the caller's
// fields hold them (the classic library's user and password come padded).
struct ServerLogon {
    std::string host, gwhost, gwserv, client, user, password, language;
    int sysnr = 0;
    int trace = 0;
};

// ashost, sysnr (two digits), client, user, passwd, lang, gwhost, gwserv and
// trace, each without its trailing blanks and left out when empty (trace
// when 0). False, with `problem` set, for a system number outside 0 to 99.
bool ServerLogonParameters(const ServerLogon& logon, LogonParameters& parameters, std::string& problem);

// Splits a connect string into KEY=value words (keys in any letter case,
// kept in upper case). A value in double quotes may hold blanks; a word
// without "=" continues the value before it, blanks included, so that a
// password with a blank survives an unquoted connect string. The last of
// two equal keys wins.
bool ParseConnectString(std::string_view text, LogonEntries& entries, std::string& problem);

// The entries of destination `destination` in a SapRfc.ini text: a section
// starts with a line DEST=name (compared in any letter case; the first such
// section wins) and runs to the next DEST= line; lines starting with *, #,
// ;, // or /* are comments; blank lines and lines without "=" are skipped;
// keys are taken in any letter case, blanks around keys and values are
// removed and a value wholly in double quotes loses them. False when the
// text has no such section.
bool FindDestination(std::string_view ini, std::string_view destination, LogonEntries& entries);

// The logon of RfcOpenEx: the destination's entries, then the connect
// string's words over them. TYPE=A (or ASHOST without TYPE): ashost, sysnr,
// gwhost, gwserv; TYPE=B (or MSHOST): mshost, msserv, sysid (R3NAME or
// SYSID, else the destination's name), group; then client, user, passwd,
// lang. False, with `problem` set, for an entry that is missing or not
// supported; `r2` tells that the destination is an R/2 one (TYPE=R).
bool DestinationLogonParameters(const LogonEntries& entries, LogonParameters& parameters, std::string& problem,
                                bool& r2);

}  // namespace nwrfc
