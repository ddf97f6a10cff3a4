#include "chm/compile/PageList.h"

#include "base/AsciiText.h"
#include "chm/compile/CompileListener.h"
#include "chm/compile/FileLocator.h"
#include "chm/itsf/Directory.h"
#include "chm/platform/FileSystemName.h"
#include "chm/platform/InputFile.h"
#include "chm/platform/OutputFile.h"
#include "chm/platform/Utf8Path.h"

namespace folvane::chm {

PageList::PageList(FileLocator& locator, CompileListener& listener, std::uint32_t nameCodePage)
    : locator_(locator), listener_(listener), nameCodePage_(nameCodePage) {}

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
    if (!store(locator_.locate(asWritten), Origin::Listed))
        ++failed_;
}

bool PageList::addLinked(const LocatedFile& file) {
    const std::size_t before = pages_.size();
    store(file, Origin::Linked);
    return pages_.size() > before;
}

// False when the file was meant to be stored and is not.
bool PageList::store(const LocatedFile& file, Origin origin) {
    const ProjectPaths& paths = locator_.paths();
    const std::string& disk = file.diskPath;
    for (auto& [path, why] : excluded_) {
        if (paths.sameFile(disk, path)) {
            if (origin == Origin::Listed && !why.empty())
                listener_.notice(why + "：" + disk);
            why.clear(); // said once
            return true;
        }
    }
    for (const std::string& path : elsewhere_)
        if (paths.sameFile(disk, path))
            return true;
    const std::string& name = file.storedName;
    if (isOutputTemporaryName(name.substr(name.rfind('/') + 1))) {
        listener_.notice("已跳过中断的编译留下的临时文件：" + disk);
        return true;
    }
    if (name.size() <= 1 || name.size() > Directory::kMaxNameBytes) {
        listener_.warning("文件名不能存入帮助文件，已跳过：" + file.fullPath);
        return false;
    }
    const auto taken = taken_.find(key(name));
    if (taken != taken_.end()) {
        if (taken->second.empty()) {
            listener_.warning("文件名与帮助文件自用的名称相同，已跳过：" + file.fullPath);
            return false;
        }
        if (paths.sameFile(taken->second, disk))
            return true;
        listener_.warning("与 " + taken->second + " 同名（不分大小写），已跳过：" + disk);
        return false;
    }
    InputFile input;
    std::string error;
    const std::filesystem::path source = fileSystemPath(disk, nameCodePage_);
    if (!input.open(source, error)) {
        listener_.warning((origin == Origin::Listed ? "无法读取文件，已跳过：" : "无法读取链接到的文件，已跳过：") +
                          file.fullPath + "：" + error);
        return false;
    }
    pages_.push_back({name, disk, source, input.size()});
    taken_.emplace(key(name), disk);
    totalBytes_ += input.size();
    return true;
}

} // namespace folvane::chm
