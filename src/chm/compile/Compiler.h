#pragma once

#include "chm/compile/CompileResult.h"

#include <cstdint>
#include <filesystem>

namespace folvane::chm {

class CompileListener;

// Compiles a project file into a help file, the way the Windows help compiler does: reads
// the project, stores every file it lists with the contents and index, writes the tables
// viewers read, and compresses on all cores. The help file is written beside its target
// and put in place only when everything succeeded. Throws CompileError.
class Compiler {
public:
    struct Options {
        unsigned threads = 0; // 0: one per hardware thread
        // An existing output that is not a help file, or is read-only, is replaced instead
        // of refused. The project, contents and index files never are.
        bool replaceAnyOutput = false;
        // Memory for the search index's words; past it they go to a file beside the output.
        // 0: from the machine's memory.
        std::uint64_t indexMemoryBytes = 0;
    };

    explicit Compiler(CompileListener& listener);
    Compiler(CompileListener& listener, Options options);

    CompileResult compile(const std::filesystem::path& projectFile);

private:
    CompileListener& listener_;
    Options options_;
};

} // namespace folvane::chm
