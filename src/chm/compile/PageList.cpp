#include "chm/compile/PageList.h"

#include "chm/compile/CompileListener.h"
#include "chm/itsf/Directory.h"
#include "chm/platform/FileSystemName.h"
#include "chm/platform/InputFile.h"
#include "chm/platform/OutputFile.h"
#include "chm/platform/Utf8Path.h"
#include "chm/text/AsciiText.h"

namespace folvane::chm {

PageList::PageList(const ProjectPaths& paths, CompileListener& listener, std::uint32_t nameCodePage)
    : paths_(paths), listener_(listener), nameCodePage_(nameCodePage) {}

std::string PageList::key(const std::string& name) {
    return AsciiText::lowered(name);
}

void PageList::reserve(const std::string& name) {
    taken_.emplace(key(name), std::string());
}

void PageList::storeElsewhere(const std::string& fullPath) {
    elsewhere_.push_back(fullPath);
}

void PageList::exclude(const std::string& fullPath, const std::string& why) {
    excluded_.emplace_back(fullPath, why);
}

bool PageList::holds(const std::string& name) const {
    return taken_.count(key(name)) > 0;
}

void PageList::add(const std::string& asWritten) {
    if (asWritten.empty())
        return;
    const std::string full = paths_.resolve(asWritten);
    for (auto& [path, why] : excluded_) {
        if (!path.empty() && paths_.sameFile(full, path)) {
            listener_.notice(why + "：" + full);
            path.clear(); // said once
            return;
        }
    }
    for (const std::string& path : elsewhere_)
        if (paths_.sameFile(full, path))
            return;
    const std::string name = paths_.storedName(full);
    if (isOutputTemporaryName(name.substr(name.rfind('/') + 1))) {
        listener_.notice("已跳过中断的编译留下的临时文件：" + full);
        return;
    }
    if (name.size() <= 1 || name.size() > Directory::kMaxNameBytes) {
        listener_.warning("文件名不能存入帮助文件，已跳过：" + full);
        return;
    }
    const auto taken = taken_.find(key(name));
    if (taken != taken_.end()) {
        if (taken->second.empty())
            listener_.warning("文件名与帮助文件自用的名称相同，已跳过：" + full);
        else if (!paths_.sameFile(taken->second, full))
            listener_.warning("与 " + taken->second + " 同名（不分大小写），已跳过：" + full);
        return;
    }
    InputFile file;
    std::string error;
    const std::filesystem::path source = fileSystemPath(full, nameCodePage_);
    if (!file.open(source, error)) {
        listener_.warning("无法读取文件，已跳过：" + full + "：" + error);
        return;
    }
    pages_.push_back({name, full, source, file.size()});
    taken_.emplace(key(name), full);
    totalBytes_ += file.size();
}

} // namespace folvane::chm
