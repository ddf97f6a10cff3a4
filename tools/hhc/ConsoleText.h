#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

namespace folvane::hhc {

// Where the compiler's lines go, as UTF-8 whatever the console expects.
void prepareConsole();
// A console window that opened for this program alone (started from the program's compile
// button) would close with the result; it waits for a key instead.
void holdOwnConsole();
bool isTerminal(std::FILE* stream);
void writeText(std::FILE* stream, std::string_view utf8);
// From now on Ctrl+C (or a request to end) only marks the run as interrupted, so that the
// compile stops at its next step and removes what it began; a file-size limit makes writes
// fail instead of ending the program.
void catchInterrupts();
bool interrupted();
// The command's arguments as paths, in the system's own encoding of file names.
std::vector<std::filesystem::path> commandArguments(int argc, char* argv[]);

} // namespace folvane::hhc
