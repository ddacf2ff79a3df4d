#include "output/StandardOutput.h"

#include <cstdio>
#include <cstdlib>

void WriteOut(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void WriteOutLine(const std::string& text) {
    WriteOut(text);
    WriteOut("\n");
}

void EndProcess(int exitCode) {
    std::fflush(stdout);
    std::exit(exitCode);
}
