#include "chm/compile/FileLookup.h"

#include "base/Utf8.h"
#include "chm/platform/FileKind.h"
#include "chm/platform/Utf8Path.h"
#include "chm/text/LowerCase.h"

#include <algorithm>
#include <system_error>

namespace folvane::chm {

FileLookup::FileLookup(PathRules rules) : rules_(rules) {}

std::string FileLookup::folded(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8::Decoded d = Utf8::decode(utf8, pos);
        if (d.valid)
            Utf8::append(out, lowerCase(d.codePoint));
        else
            out += utf8[pos];
        pos += d.length;
    }
    return out;
}

const FileLookup::Listing& FileLookup::listing(const std::string& folder) {
    Listing& entry = listings_[folder];
    if (entry.read)
        return entry;
    entry.read = true;
    std::error_code error;
    for (std::filesystem::directory_iterator it(pathFromUtf8(folder.empty() ? "/" : folder), error), end;
         !error && it != end; it.increment(error)) {
        std::string name = utf8FromPath(it->path().filename());
        entry.byFolded[folded(name)].push_back(name);
        entry.names.insert(std::move(name));
    }
    for (auto& [key, names] : entry.byFolded)
        std::sort(names.begin(), names.end());
    return entry;
}

FileLookup::Found FileLookup::find(const std::string& fullPath) {
    if (fileKind(pathFromUtf8(fullPath)) != FileKind::Missing)
        return {fullPath, Match::Exact};
    // Windows compares names without case itself; only a relative or odd path gets here.
    if (rules_ == PathRules::Windows || fullPath.empty() || fullPath[0] != '/')
        return {fullPath, Match::Missing};
    std::string found;
    Match match = Match::IgnoringCase;
    std::size_t at = 1;
    while (at <= fullPath.size()) {
        const std::size_t slash = std::min(fullPath.find('/', at), fullPath.size());
        const std::string step = fullPath.substr(at, slash - at);
        at = slash + 1;
        if (step.empty())
            continue;
        const Listing& folder = listing(found);
        std::string next;
        if (folder.names.count(step) > 0 || folder.names.empty()) {
            // Found as written; or a folder that cannot be listed, passed through as written.
            next = step;
        } else {
            const auto candidates = folder.byFolded.find(folded(step));
            if (candidates == folder.byFolded.end())
                return {fullPath, Match::Missing};
            next = candidates->second.front();
            if (candidates->second.size() > 1)
                match = Match::Ambiguous;
        }
        found += '/';
        found += next;
    }
    if (fileKind(pathFromUtf8(found)) == FileKind::Missing)
        return {fullPath, Match::Missing};
    return {found, match};
}

} // namespace folvane::chm
