// What PRTG's XML parser makes of an EXE/XML sensor's output, as far as the
// sensor's own documents go: exactly one element, <Prtg>, holding elements and
// text, nothing but white space around it, every element closed in order, and
// no "&" or "<" in a text but as markup. Bytes outside the markup are the
// host's code page's and are not judged.
#pragma once

#include <string>

// Empty when PRTG reads the output as one <Prtg> document, else why it does not.
std::string PrtgDocumentProblem(const std::string& output);
