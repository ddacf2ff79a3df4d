#include "run/SystemConnection.h"

#include "output/StandardOutput.h"
#include "rfc/Connection.h"

RFC_HANDLE OpenSystemConnection(const LogonEntriesRecord& entries, bool verbose) {
    // A console line: before the document it would make the host's parser refuse it.
    if (verbose && UsesDestinationFile(entries)) WriteOutLine("* SapRfc.Ini.......: " + entries.Destination + "<");
    return OpenConnection(entries);
}
