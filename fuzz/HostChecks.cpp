#include "HostChecks.h"

#include "PluginLine.h"
#include "PrtgDocument.h"
#include "ReportFormats.h"

std::string HostReadingProblem(HostFormat format, const std::string& output, int exitCode) {
    // Every format names its reader: a format added without one fails the build (-Wswitch).
    switch (format) {
        case HostFormat::ExeXml:
        case HostFormat::Kestrel:
        case HostFormat::Bramble: return PrtgDocumentProblem(output);
        case HostFormat::Pinewood:
        case HostFormat::Juniper: return "";
        case HostFormat::Nagios: return PluginLineProblem(output, exitCode);
        case HostFormat::Checkmk: return CheckmkLinesProblem(output);
        case HostFormat::ScriptV2:
            if (exitCode != 0) return "an exit code other than 0, after which PRTG does not read Script v2";
            return ScriptV2Problem(output);
        case HostFormat::Prometheus: return PrometheusProblem(output);
    }
    return "a format without a reader";
}
