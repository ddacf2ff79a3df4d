#include "output/RunDocument.h"

#include "output/RunContext.h"
#include "output/StandardOutput.h"
#include "platform/OutputLock.h"

void WriteOpening(const RunReport& report) {
    OutputLockHeld held;
    WriteDocumentOutLocked(CurrentWriter().Opening(report));
}

void WriteSystemDone(const RunReport& report) {
    OutputLockHeld held;
    PublishLocked(report);
    WriteDocumentOutLocked(CurrentWriter().SystemDone(report));
}

void WriteClosing(const RunReport& report) {
    OutputLockHeld held;
    WriteDocumentOutLocked(CurrentWriter().Closing(report));
}

void WriteErrorDocument(std::string_view errorText) {
    OutputLockHeld held;
    RunContext.LastErrorText = std::string(errorText.substr(0, MessageTextRoom));
    WriteDocumentOutLocked(CurrentWriter().Error(RunContext.Published, errorText));
}
