#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillora::pack {

// What starting a program needs.
struct ProgramRun {
    std::vector<std::string> arguments;  // the first is looked for on PATH
    std::filesystem::path folder;        // its working folder; the tool's own when empty
    std::filesystem::path output;        // where its standard output goes; nowhere when empty
};

// Runs a program to its end. Throws an Error when it cannot be started ("cannot run NAME: ..."),
// or ends with a failure ("NAME failed: " and the last of what it wrote to its error output).
void RunProgram(const ProgramRun& run);

// The program is found on PATH.
bool ProgramOnPath(const std::string& name);

}  // namespace quillora::pack
