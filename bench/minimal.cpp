// The yardstick of the single-system run: a program of the same kind that
// starts, writes a short document to standard output and ends.
#include <cstdio>
#include <string>

int main() {
    std::string document = "<Prtg>\n<Text>minimal</Text>\n</Prtg>\n";
    std::fwrite(document.data(), 1, document.size(), stdout);
    return 0;
}
