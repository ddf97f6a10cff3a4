#include "chm/compile/Compiler.h"

#include "chm/compile/CompileRun.h"

namespace folvane::chm {

Compiler::Compiler(CompileListener& listener) : Compiler(listener, Options{}) {}

Compiler::Compiler(CompileListener& listener, Options options) : listener_(listener), options_(options) {}

CompileResult Compiler::compile(const std::filesystem::path& projectFile) {
    CompileRun run(listener_, options_);
    return run.run(projectFile);
}

} // namespace folvane::chm
