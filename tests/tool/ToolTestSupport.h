#pragma once

// Running the built pondrel-tool from a test, and the host files the tests hand it.

#include <filesystem>
#include <string>
#include <vector>

namespace pondrel::test {

struct ToolRun {
    int status = -1;  // the exit status; -1 when the tool could not be run or did not exit
    std::string out;
    std::string err;
};

// Runs the tool with the arguments after its name and waits for it. No shell is involved: every
// argument reaches the tool exactly as given.
ToolRun RunTool(const std::vector<std::string>& args);

// The bytes of a host file ("" when it cannot be read).
std::string Slurp(const std::filesystem::path& file);
// Replaces a host file with the bytes.
void Put(const std::filesystem::path& file, const std::string& bytes);

}  // namespace pondrel::test
