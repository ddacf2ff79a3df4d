#include "rfc/CallOutcome.h"

CallOutcome CallOutcome::Of(int code, const std::string& exceptionText) {
    return CallOutcome{code, code == RFC_OK ? "" : RfcOutcomeText(code, exceptionText)};
}

std::string RfcOutcomeText(int code, const std::string& exceptionText) {
    switch (code) {
        case RFC_FAILURE: return "Error 1014: RFC-Failure raised !";
        case RFC_EXCEPTION: return "Error 1012: Exception.: " + exceptionText;
        case RFC_SYS_EXCEPTION: return "Error 1013: Sys-Exception raised !";
        default: return "Error 1015: Other Failure raised !";
    }
}
