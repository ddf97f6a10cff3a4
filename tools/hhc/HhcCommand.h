#pragma once

#include "chm/compile/CompileListener.h"
#include "chm/compile/CompileResult.h"
#include "chm/compile/Compiler.h"

#include <filesystem>
#include <string>

namespace folvane::hhc {

// Hears a compile and its outcome.
class HhcReport : public chm::CompileListener {
public:
    // The last line: the summary of a compile that succeeded, or why it failed.
    virtual void finished(bool succeeded, const std::string& text) = 0;
    // The help file written, just before finished(true, ...); UTF-8.
    virtual void written(const std::string& /*outputFile*/) {}
};

// Compiles one project; returns the exit status.
int runHhc(const std::filesystem::path& projectFile, HhcReport& report, const chm::Compiler::Options& options = {});

// "编译完成：…" with the files, the sizes, the time and the language.
std::string summaryOf(const chm::CompileResult& result);

} // namespace folvane::hhc
