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

std::string GatheredErrorText() {
    AppendTraceHint();
    return ResultDocument;
}

std::string TakenGatheredError() {
    const std::string text = GatheredErrorText();
    EmptyDocument();
    return text;
}

void EndWithGatheredError(RFC_HANDLE handle, bool closeFirst) {
    if (closeFirst) Rfc.RfcClose(handle);
    const std::string messageText = GatheredErrorText();
    WriteErrorDocument(messageText);
    WriteDocument();
    DocumentComplete(2);
    if (!closeFirst) Rfc.RfcClose(handle);
    EndProcess(2);
}
