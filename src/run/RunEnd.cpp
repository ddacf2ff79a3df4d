#include "run/RunEnd.h"

#include <cstdio>
#include <cstdlib>

#include <string>

#include "checks/CpuProbe.h"
#include "checks/SystemInfoProbe.h"
#include "output/ResultDocument.h"
#include "rfc/RfcErrors.h"
#include "rfc/RfcLibrary.h"
#include "run/RunSettings.h"

void EndProcess(int exitCode) {
    std::fflush(stdout);
    std::exit(exitCode);
}

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
    if (!closeFirst) Rfc.RfcClose(handle);
    EndProcess(2);
}

void EndUnlessSystemAccepted(RFC_HANDLE handle) {
    RunStatus = "ERR";
    ProbeCpu(handle);
    if (RunStatus == "ERR") EndWithGatheredError(handle);

    RunStatus = "ERR";
    ProbeSystemInfo(handle);
    if (RunStatus == "ERR") EndWithGatheredError(handle);

    if (DatabaseIsOracle()) return;
    WriteErrorDocument("Error 1018: DataBase mismatch !");
    WriteDocument();
    Rfc.RfcClose(handle);
    EndProcess(2);
}
