// A fresh, empty game directory for one test, made the current directory
// for the test's life and removed afterwards, whatever the test left in it.
#pragma once

#include <string>
#include <vector>

class ScratchGameDir {
public:
    ScratchGameDir();
    ~ScratchGameDir();
    ScratchGameDir(const ScratchGameDir &) = delete;
    ScratchGameDir &operator=(const ScratchGameDir &) = delete;

    const std::string &Path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

void WriteFileBytes(const char *name, const std::string &bytes);
std::string ReadFileBytes(const char *name);
// The names in the current directory, sorted.
std::vector<std::string> DirectoryNames();
