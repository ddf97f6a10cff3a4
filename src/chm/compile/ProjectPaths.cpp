#include "chm/compile/ProjectPaths.h"

#include "base/AsciiText.h"

#include <algorithm>
#include <vector>

namespace folvane::chm {

namespace {

bool equalText(std::string_view a, std::string_view b, PathRules rules) {
    return rules == PathRules::Posix ? a == b : AsciiText::equalsIgnoringCase(a, b);
}

bool hasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::vector<std::string_view> steps(std::string_view path) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (at <= path.size()) {
        const std::size_t slash = std::min(path.find('/', at), path.size());
        const std::string_view step = path.substr(at, slash - at);
        if (step == "..") {
            if (!out.empty() && out.back() != "..")
                out.pop_back();
            else
                out.push_back(step);
        } else if (!step.empty() && step != ".") {
            out.push_back(step);
        }
        at = slash + 1;
    }
    return out;
}

std::string joined(const std::vector<std::string_view>& parts, std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < parts.size(); ++i) {
        if (!out.empty())
            out += '/';
        out += parts[i];
    }
    return out;
}

std::string rooted(std::string_view path) {
    std::string out;
    out.reserve(path.size() + 1);
    out += '/';
    out += path;
    return out;
}

} // namespace

ProjectPaths::ProjectPaths(std::string_view folder, PathRules rules) : rules_(rules) {
    folder_ = tidy(folder);
}

bool ProjectPaths::isAbsolute(std::string_view path) const {
    if (rules_ == PathRules::Posix)
        return !path.empty() && path[0] == '/';
    return (path.size() >= 3 && hasDrive(path) && (path[2] == '/' || path[2] == '\\')) ||
           (path.size() >= 2 && (path[0] == '/' || path[0] == '\\') && (path[1] == '/' || path[1] == '\\'));
}

std::string ProjectPaths::tidy(std::string_view path) const {
    std::string text(path);
    if (rules_ == PathRules::Windows)
        std::replace(text.begin(), text.end(), '\\', '/');
    std::string prefix;
    std::string_view rest = text;
    if (rules_ == PathRules::Windows && text.size() >= 2 && text[0] == '/' && text[1] == '/') {
        prefix = "//";
        rest.remove_prefix(2);
    } else if (rules_ == PathRules::Windows && hasDrive(text)) {
        prefix = text.substr(0, 2);
        rest.remove_prefix(2);
        if (!rest.empty() && rest[0] == '/')
            prefix += '/';
    } else if (!text.empty() && text[0] == '/') {
        prefix = "/";
    }
    std::vector<std::string_view> parts = steps(rest);
    // Nothing lies above the root.
    if (!prefix.empty() && prefix.back() == '/')
        parts.erase(parts.begin(),
                    std::find_if(parts.begin(), parts.end(), [](std::string_view s) { return s != ".."; }));
    return prefix + joined(parts, 0);
}

std::string ProjectPaths::resolve(std::string_view asWritten) const {
    std::string written(asWritten);
    std::replace(written.begin(), written.end(), '\\', '/');
    return resolveLiterally(written);
}

std::string ProjectPaths::resolveLiterally(std::string_view asWritten) const {
    if (isAbsolute(asWritten))
        return tidy(asWritten);
    // "\x" on Windows starts at the root of the project's drive.
    const bool driveRooted = rules_ == PathRules::Windows && !asWritten.empty() &&
                             (asWritten[0] == '/' || asWritten[0] == '\\') && hasDrive(folder_);
    if (driveRooted)
        return tidy(folder_.substr(0, 2) + std::string(asWritten));
    std::string full = folder_;
    if (full.empty() || full.back() != '/')
        full += '/';
    full += asWritten;
    return tidy(full);
}

bool ProjectPaths::contains(std::string_view fullPath) const {
    const std::string full = tidy(fullPath);
    std::string base = folder_;
    if (base.empty() || base.back() != '/')
        base += '/';
    return full.size() > base.size() && equalText(std::string_view(full).substr(0, base.size()), base, rules_);
}

bool ProjectPaths::sameFile(std::string_view a, std::string_view b) const {
    return equalText(tidy(a), tidy(b), rules_);
}

std::string ProjectPaths::storedName(std::string_view fullPath) const {
    const std::string full = tidy(fullPath);
    if (contains(full))
        return rooted(std::string_view(full).substr(folder_.size() + (folder_.back() == '/' ? 0 : 1)));
    // Outside the project folder: the relative path, with the steps above the root dropped.
    const std::vector<std::string_view> fileParts = steps(full);
    const std::vector<std::string_view> folderParts = steps(folder_);
    std::size_t common = 0;
    while (common < fileParts.size() && common < folderParts.size() &&
           equalText(fileParts[common], folderParts[common], rules_))
        ++common;
    std::size_t from = common;
    // A drive letter is no folder of the help file.
    if (from == 0 && !fileParts.empty() && rules_ == PathRules::Windows && hasDrive(fileParts[0]))
        from = 1;
    return rooted(joined(fileParts, from));
}

std::string nameFromRoot(std::string_view link) {
    std::vector<std::string_view> parts = steps(link);
    parts.erase(parts.begin(), std::find_if(parts.begin(), parts.end(), [](std::string_view s) { return s != ".."; }));
    return rooted(joined(parts, 0));
}

} // namespace folvane::chm
