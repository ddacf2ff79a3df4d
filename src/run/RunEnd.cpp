#include "run/RunEnd.h"

#include <string>

#include "output/ResultDocument.h"
#include "output/StandardOutput.h"
#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"

void EndWithErrorDocument(std::string_view messageText) {
    WriteErrorDocument(messageText);
    WriteDocument();
    EndProcess(2);
}

void EndWithGatheredError(RFC_HANDLE handle, bool closeFirst) {
    if (closeFirst) Rfc.RfcClose(handle);
    AppendTraceHint();
    std::string messageText = ResultDocument;
    WriteErrorDocument(messageText);
    WriteDocument();
    DocumentComplete(2);
    if (!closeFirst) Rfc.RfcClose(handle);
    EndProcess(2);
}
