// The outcome of a function-module call, as a value the checks return: the
// call's return code and, when it failed, the text that says so.
#pragma once

#include <string>

#include "rfc/RfcInterface.h"

struct CallOutcome {
    int Code = RFC_OK;
    // "Error 1014: RFC-Failure raised !", "Error 1012: Exception.: NOT_FOUND", ...; empty for success.
    std::string Failure;

    bool Ok() const { return Code == RFC_OK; }
    // The outcome of a return code, with the exception's text the library returned for codes 2 and 3.
    static CallOutcome Of(int code, const std::string& exceptionText);
};

// The text of a call's non-zero return code: "Error 1014: RFC-Failure raised !",
// "Error 1012: Exception.: " + the exception's text, "Error 1013: Sys-Exception
// raised !", "Error 1015: Other Failure raised !".
std::string RfcOutcomeText(int code, const std::string& exceptionText);
