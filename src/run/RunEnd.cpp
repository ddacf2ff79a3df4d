#include "run/RunEnd.h"

#include <cstdio>
#include <cstdlib>

#include "output/ResultDocument.h"

void EndProcess(int exitCode) {
    std::fflush(stdout);
    std::exit(exitCode);
}

void EndWithErrorDocument(std::string_view messageText) {
    WriteErrorDocument(messageText);
    WriteDocument();
    EndProcess(2);
}
