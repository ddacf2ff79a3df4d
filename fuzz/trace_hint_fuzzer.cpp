// The RFC library's trace file Dev_Rfc.Trc of arbitrary bytes: the hint taken
// from it is " - " and at most 87 characters of the last error line, or
// " - Look for Trace-File", and the error document it ends in stays one PRTG's
// parser reads.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "PrtgDocument.h"
#include "output/PrtgDocument.h"
#include "rfc/RfcErrors.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputDirectory inputDirectory;
    ResetSensorRecords();
    WriteScratchFile(RfcTraceFile, std::string(reinterpret_cast<const char*>(data), size));

    const std::string hint = TraceHint();
    Expect(hint.size() <= 3 + 87, "a trace hint of at most 90 characters");
    Expect(hint.rfind(" - ", 0) == 0, "a trace hint begins with \" - \"");
    Expect(PrtgDocumentProblem(PrtgErrorDocument("Error 1014: RFC-Failure raised !" + hint, false)).empty(),
           "an error document PRTG's parser reads");
    return 0;
}
