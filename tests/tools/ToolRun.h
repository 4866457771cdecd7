#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

// What a command-line tool did: its exit status (-1 when it did not exit by itself) and what it
// wrote.
struct ToolOutcome {
    int status;
    std::string out;
    std::string err;
};

inline std::string fileContents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs `command` through the shell, keeping its output in files of `folder`.
inline ToolOutcome runTool(const std::string& command, const std::filesystem::path& folder) {
    const auto out = folder / "stdout.txt";
    const auto err = folder / "stderr.txt";
    const std::string line = command + " >" + out.string() + " 2>" + err.string();
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileContents(out), fileContents(err)};
}
