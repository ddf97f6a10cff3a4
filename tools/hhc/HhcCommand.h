#pragma once

#include "chm/compile/CompileListener.h"
#include "chm/compile/CompileResult.h"
#include "chm/compile/Compiler.h"

#include <filesystem>
#include <string>

namespace folvane::hhc {

// What the compiler's lines start with; the texts it is given carry none.
inline const std::string kNoticePrefix = "提示：";
inline const std::string kWarningPrefix = "警告：";

// Hears a compile and its outcome.
class HhcReport : public chm::CompileListener {
public:
    // The last line: the summary of a compile that wrote the help file (complete: with every
    // file the project names), or why it failed.
    virtual void finished(bool succeeded, bool complete, const std::string& text) = 0;
    // The help file written, just before finished(true, ...); UTF-8.
    virtual void written(const std::string& /*outputFile*/) {}
};

// Compiles one project; returns the exit status.
int runHhc(const std::filesystem::path& projectFile, HhcReport& report, const chm::Compiler::Options& options = {});

// "编译完成：…" with the files, the sizes, the time and the language.
std::string summaryOf(const chm::CompileResult& result);

} // namespace folvane::hhc
