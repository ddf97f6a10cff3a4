#include "hhc/HhcCommand.h"

#include "chm/CompileError.h"
#include "chm/compile/Compiler.h"
#include "hhc/ExitStatus.h"

#include <cstdio>
#include <new>

namespace folvane::hhc {

namespace {
std::string sizeText(std::uint64_t bytes) {
    char text[32];
    if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof text, "%.1f KB", static_cast<double>(bytes) / 1024);
    else
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024 * 1024));
    return text;
}
} // namespace

std::string summaryOf(const chm::CompileResult& result) {
    char details[160];
    std::snprintf(details, sizeof details, "，用时 %.1f 秒，语言 0x%X（代码页 %u）", result.seconds, result.lcid,
                  result.codePage);
    const std::string search = result.searchIndex ? "\n全文搜索：" + std::to_string(result.indexedPages) +
                                                        " 个页面，索引 " + sizeText(result.indexBytes)
                                                  : std::string();
    const std::string done = result.missingFiles == 0
                                 ? std::string("编译完成：")
                                 : "编译完成，但有 " + std::to_string(result.missingFiles) + " 个文件未能编入：";
    const std::string linked =
        result.linkedFiles == 0 ? std::string() : "（其中 " + std::to_string(result.linkedFiles) + " 个由链接找到）";
    return done + result.outputFile + "\n共 " + std::to_string(result.files) + " 个文件" + linked + "，压缩后 " +
           sizeText(result.fileBytes) + "（原 " + sizeText(result.uncompressedBytes) + "）" + details + search;
}

int runHhc(const std::filesystem::path& projectFile, HhcReport& report, const chm::Compiler::Options& options) {
    try {
        chm::Compiler compiler(report, options);
        const chm::CompileResult result = compiler.compile(projectFile);
        report.written(result.outputFile);
        report.finished(true, result.missingFiles == 0, summaryOf(result));
        return result.missingFiles == 0 ? kSucceeded : kIncomplete;
    } catch (const chm::CompileError& e) {
        report.finished(false, false, std::string("编译失败：") + e.what());
    } catch (const std::bad_alloc&) {
        report.finished(false, false, "编译失败：内存不足");
    } catch (const std::exception& e) {
        report.finished(false, false, std::string("编译失败：") + e.what());
    }
    return kFailed;
}

} // namespace folvane::hhc
