// Helpers of the unit tests: temporary files and capturing what goes to standard error.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace unit {

// A temporary directory removed with the object.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/dbgauge-unit-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path &path() const { return path_; }
    std::string Write(const std::string &name, const std::string &text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
        return (path_ / name).string();
    }

private:
    std::filesystem::path path_;
};

// Redirects file descriptor 2 into a file while it lives; Text() returns what arrived.
class StderrCapture {
public:
    StderrCapture() {
        std::fflush(stderr);
        saved_ = dup(2);
        file_ = std::tmpfile();
        dup2(fileno(file_), 2);
    }
    ~StderrCapture() { Restore(); }
    std::string Text() {
        Restore();
        std::rewind(file_);
        std::stringstream text;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0)
            text.write(buffer, static_cast<std::streamsize>(n));
        return text.str();
    }

private:
    void Restore() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            dup2(saved_, 2);
            close(saved_);
            saved_ = -1;
        }
    }
    int saved_ = -1;
    FILE *file_ = nullptr;
};

} // namespace unit
