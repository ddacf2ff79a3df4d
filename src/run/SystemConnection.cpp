#include "run/SystemConnection.h"

#include "output/StandardOutput.h"
#include "rfc/Connection.h"

RFC_HANDLE OpenSystemConnection(const LogonEntriesRecord& entries, const RunSettingsRecord& settings) {
    // A console line: before the document it would make the host's parser refuse it.
    if (settings.VerboseMode && UsesDestinationFile(entries))
        WriteOutLine("* SapRfc.Ini.......: " + entries.Destination + "<");
    return OpenConnection(entries, settings);
}
