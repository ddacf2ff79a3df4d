// Failures in words: the record of the last failure, the texts RfcLastError
// makes of it, the lines it leaves in the trace file Dev_Rfc.Trc, and the
// classic return code of a NetWeaver one. Texts are 8-bit (code page 1252).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace nwrfc {

// A failure as the NetWeaver library describes it: its return code and
// error group (the library's numbers), key, message (possibly several
// lines) and, for ABAP messages, the message class, type and number. The
// adapter's own failures use the library's codes and groups too.
struct ErrorRecord {
    int code = 0;
    int group = 0;
    std::string key;
    std::string message;
    std::string abap_class, abap_type, abap_number;
};

// The adapter's own failures, keyed by the name of their return code as
// the library keys its own: RFC_INVALID_PARAMETER (a caller's argument),
// RFC_INVALID_HANDLE (a handle that is not open or not known),
// RFC_NOT_SUPPORTED (R/2), RFC_EXTERNAL_FAILURE (SAP's library cannot be
// loaded or lacks a function; keyed RFC_LIBRARY_UNUSABLE, which the sensor
// reports as a fault of the set-up), RFC_MEMORY_INSUFFICIENT; all in group
// EXTERNAL_RUNTIME_FAILURE.
ErrorRecord InvalidParameter(const std::string& message);
ErrorRecord InvalidHandle(const std::string& message);
ErrorRecord NotSupported(const std::string& message);
ErrorRecord LibraryFailure(const std::string& message);
ErrorRecord MemoryInsufficient(const std::string& message);

// Makes `error` the last failure and appends its message to the trace file.
void RecordFailure(const ErrorRecord& error);
const ErrorRecord& LastFailure();

// The four texts of the classic error record, before they are cut to its
// fields: key; status, the error group's name; message, its lines joined by
// one blank; internal status, the return code's name and number and, for an
// ABAP message, its class, number and type.
struct ClassicErrorTexts {
    std::string key, status, message, intstat;
};
ClassicErrorTexts ClassicTexts(const ErrorRecord& error);

// Copies into a classic record field, cut to its size and NUL-terminated.
template <std::size_t Size>
void CopyToField(char (&field)[Size], const std::string& text)
{
    std::size_t count = text.size() < Size - 1 ? text.size() : Size - 1;
    text.copy(field, count);
    field[count] = '\0';
}

// The classic error record's four fields (key 33, status 128, message 256,
// internal status 128 bytes) filled from a failure.
template <std::size_t Key, std::size_t Status, std::size_t Message, std::size_t Intstat>
void FillClassicRecord(const ErrorRecord& error, char (&key)[Key], char (&status)[Status], char (&message)[Message],
                       char (&intstat)[Intstat])
{
    ClassicErrorTexts texts = ClassicTexts(error);
    CopyToField(key, texts.key);
    CopyToField(status, texts.status);
    CopyToField(message, texts.message);
    CopyToField(intstat, texts.intstat);
}

// The trace file's lines for a message: each non-empty line after "ERROR"
// and seven blanks, so that the message starts at offset 12 where the
// sensor's trace hint reads it. A message that already holds such a line
// is one of SAP's multi-line blocks (LOCATION, ERROR, TIME, ... each key in
// a column of twelve): its lines are taken as they stand, so that its own
// ERROR line gives the hint. An empty message gives no line.
std::vector<std::string> TraceLines(const std::string& message);

// The classic return code of a NetWeaver one: RFC_OK 0; RFC_ABAP_EXCEPTION
// 2; RFC_ABAP_MESSAGE and RFC_ABAP_RUNTIME_FAILURE 3; every other code,
// codes unknown to the library's header included, 1.
int ClassicCode(int code);

// Whether a failure with this code leaves the connection closed.
bool ClosesConnection(int code);

// "RFC_COMMUNICATION_FAILURE", ...; "RFC_RC 40" for a code beyond the header.
std::string CodeName(int code);
// "COMMUNICATION_FAILURE", ...; "RFC_ERROR_GROUP 11" beyond the header.
std::string GroupName(int group);

}  // namespace nwrfc
