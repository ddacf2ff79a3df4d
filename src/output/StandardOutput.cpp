#include "output/StandardOutput.h"

#include <cstdio>
#include <cstdlib>

namespace {

ProcessEndHook EndHook = nullptr;

}  // namespace

void WriteOut(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void WriteOutLine(const std::string& text) {
    WriteOut(text);
    WriteOut("\n");
}

void SetProcessEndHook(ProcessEndHook hook) { EndHook = hook; }

void EndProcess(int exitCode) {
    std::fflush(stdout);
    if (EndHook) EndHook(exitCode);
    std::exit(exitCode);
}
