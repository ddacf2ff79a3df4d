// Scratch files for the configuration tests: written in the working directory
// under a unique name, removed when the test ends.
#pragma once

#include <cstdio>
#include <string>

class ScratchFile {
public:
    ScratchFile(const std::string& name, const std::string& bytes) : name_("sw_config_" + name) {
        std::FILE* file = std::fopen(name_.c_str(), "wb");
        if (file) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    }
    ~ScratchFile() { std::remove(name_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Name() const { return name_; }

private:
    std::string name_;
};

// Writes a file under exactly this name (the trace file, for one); the caller removes it.
inline bool WriteFileBytes(const std::string& name, const std::string& bytes) {
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) return false;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    return std::fclose(file) == 0;
}
