// The RFC library's trace file Dev_Rfc.Trc of arbitrary bytes: the hint taken
// from it is " - " and at most 87 characters of the last error line, or
// " - Look for Trace-File", and it never grows the document past its room.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "output/ResultDocument.h"
#include "rfc/RfcErrors.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeScratchDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputDirectory inputDirectory;
    ResetSensorRecords();
    // The first byte says how full the document already is, in steps of 32 characters.
    const std::size_t filled = size > 0 ? data[0] * 32u % (ResultDocumentRoom + 1) : 0;
    const std::string trace = size > 0 ? std::string(reinterpret_cast<const char*>(data) + 1, size - 1) : "";
    WriteScratchFile(RfcTraceFile, trace);

    AppendToDocument(std::string(filled, 'x'));
    AppendTraceHint();
    Expect(ResultDocument.size() <= ResultDocumentRoom, "a document within its room");
    const std::string hint = ResultDocument.substr(filled);
    Expect(hint.size() <= 3 + 87, "a trace hint of at most 90 characters");
    if (filled + 3 <= ResultDocumentRoom) Expect(hint.rfind(" - ", 0) == 0, "a trace hint begins with \" - \"");
    return 0;
}
