// The critical objects check over rows of any contents, then every format's
// writer over what it names. The input: a mode byte, then the options
// (EXCLUDE=, NAMES=) up to the first NUL, then the rows' bytes: TS_CHECK rows
// of 60 bytes and CRITOBJ rows of 116, as many of each as the mode says, from
// the bytes that follow (a short tail padded with blanks). A stand-in RFC
// library hands them out as the library would. Whatever the names hold (blank,
// control characters, markup, bytes of any code page, one name many times),
// the counts add up and each host reads the whole document.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "HostChecks.h"
#include "checks/CriticalObjects.h"
#include "config/CriticalNamesOptions.h"
#include "config/RunSettings.h"
#include "output/ReportWriter.h"
#include "rfc/RfcContext.h"

namespace {

std::vector<std::string> TablespaceRows, ObjectRows;

int RFC_LIBRARY_CALL InstallStructure(char*, RFC_TYPE_ELEMENT*, unsigned, RFC_TYPEHANDLE* handle) {
    *handle = 7;
    return 0;
}
int RFC_LIBRARY_CALL Call(RFC_HANDLE, char*, RFC_PARAMETER*, RFC_TABLE*) { return RFC_OK; }
int RFC_LIBRARY_CALL Receive(RFC_HANDLE, RFC_PARAMETER*, RFC_TABLE*, char** exception) {
    *exception = nullptr;
    return RFC_OK;
}
ITAB_H RFC_LIBRARY_CALL Create(char* name, unsigned, unsigned, unsigned) {
    return reinterpret_cast<ITAB_H>(std::strcmp(name, "TS_CHECK") == 0 ? 2 : 1);
}
std::vector<std::string>& RowsOf(ITAB_H table) {
    return reinterpret_cast<std::uintptr_t>(table) == 2 ? TablespaceRows : ObjectRows;
}
unsigned RFC_LIBRARY_CALL Fill(ITAB_H table) { return static_cast<unsigned>(RowsOf(table).size()); }
void* RFC_LIBRARY_CALL GetLine(ITAB_H table, unsigned index) {
    std::vector<std::string>& rows = RowsOf(table);
    return index >= 1 && index <= rows.size() ? rows[index - 1].data() : nullptr;
}
int RFC_LIBRARY_CALL Delete(ITAB_H) { return 0; }

void InstallStandIn() {
    Rfc.RfcInstallStructure = InstallStructure;
    Rfc.RfcCall = Call;
    Rfc.RfcReceive = Receive;
    Rfc.ItCreate = Create;
    Rfc.ItFill = Fill;
    Rfc.ItGetLine = GetLine;
    Rfc.ItDelete = Delete;
}

// `count` rows of `length` bytes from the input at `at`; the input's end padded with blanks.
std::vector<std::string> RowsFrom(const std::string& bytes, std::size_t& at, std::size_t count, std::size_t length) {
    std::vector<std::string> rows;
    for (std::size_t n = 0; n < count; ++n) {
        std::string row = at < bytes.size() ? bytes.substr(at, length) : "";
        row.resize(length, ' ');
        at += length;
        rows.push_back(row);
    }
    return rows;
}

// The written document of a format, a single system's or a listing's of three systems with these rows.
std::string Written(ReportWriter& writer, const SystemResult& measured, bool listing) {
    RunReport report;
    report.MultiSystem = listing;
    report.Item = "Critical_Objects";
    report.Subject = listing ? "listing Critical_Objects" : "PRD";
    if (!listing) {
        report.Systems.push_back(measured);
        return writer.Closing(report);
    }
    std::string written = writer.Opening(report);
    for (const char* label : {"PRD", "QAS", "PRD"}) {
        SystemResult system = measured;
        system.Name = system.Label = label;
        report.Systems.push_back(system);
        ++report.NoSystems;
        ++report.Processed;
        written += writer.SystemDone(report);
    }
    return written + writer.Closing(report);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResetSensorRecords();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const unsigned char mode = input.empty() ? 0 : static_cast<unsigned char>(input[0]);
    const std::size_t optionsEnd = std::min(input.find('\0', 1), input.size());
    const std::string options = input.size() > 1 ? input.substr(1, optionsEnd - 1) : "";
    std::size_t at = optionsEnd + 1;
    TablespaceRows = RowsFrom(input, at, mode & 0x0F, TspcCheckRowLength);
    ObjectRows = RowsFrom(input, at, mode >> 4, CritObjRowLength);

    RunSettingsRecord read;
    read.ParameterTextAsGiven = options;
    read.ParameterText = UpperAscii(options);
    if (!SelectCriticalNames(read).empty()) read.Names = CriticalNamesOptions{};

    InstallStandIn();
    const CriticalObjectsMeasurement measurement = CheckCriticalObjects(1, read.Names);
    const CriticalNames& names = measurement.Names;
    // Every row is counted or named or left out, once.
    Expect(measurement.Values[0] + measurement.Values[1] + static_cast<long long>(names.Excluded) ==
               static_cast<long long>(TablespaceRows.size() + ObjectRows.size()),
           "each row counted or left out");
    Expect(measurement.Values[0] == static_cast<long long>(names.Tablespaces.size() + names.UnnamedTablespaces),
           "each counted tablespace named or counted as unnamed");
    Expect(measurement.Values[1] == static_cast<long long>(names.Objects.size() + names.UnnamedObjects),
           "each counted object named or counted as unnamed");
    Rfc = RfcLibraryContext{};

    const SystemResult measured{"PRD.P00", "PRD", "PRD", true, measurement.Values, "", names};
    for (const HostFormat format : AllHostFormats()) {
        for (const bool listing : {false, true}) {
            RunSettingsRecord settings = read;
            settings.HostFlavour = format;
            settings.GlobalMode = listing;
            settings.ItemIdentification = "Critical_Objects";
            settings.Names.InPrtgText = (mode & 1) != 0;
            const std::unique_ptr<ReportWriter> writer = settings.Host().MakeWriter(settings);
            const std::string output = Written(*writer, measured, listing);
            const std::string problem = HostReadingProblem(format, output, writer->ExitCode(0));
            if (!problem.empty())
                std::fprintf(stderr, "%s: %s\nproblem: %s\n", HostFormatName(format).c_str(), output.c_str(),
                             problem.c_str());
            Expect(problem.empty(), "a document its host reads");
        }
    }
    return 0;
}
