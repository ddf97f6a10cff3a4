#pragma once

#include <string>
#include <string_view>

namespace folvane::chm {

// How the system names files: on Windows "\" and "/" both separate and letter case does
// not tell files apart; elsewhere only "/" separates and case does.
enum class PathRules { Posix, Windows };

constexpr PathRules nativePathRules() {
#ifdef _WIN32
    return PathRules::Windows;
#else
    return PathRules::Posix;
#endif
}

// Turns paths as a project writes them into full paths and into the names files get in
// the help file. All paths are UTF-8 text; full paths use "/" as separator.
class ProjectPaths {
public:
    // folder: the project's folder, absolute.
    explicit ProjectPaths(std::string_view folder, PathRules rules = nativePathRules());

    const std::string& folder() const { return folder_; }
    PathRules rules() const { return rules_; }

    // A path relative to the project folder or absolute, made absolute and tidied. Projects
    // come from Windows: "\" separates folders as "/" does, on every system.
    std::string resolve(std::string_view asWritten) const;
    // The same with "\" kept as part of a name where the system allows that.
    std::string resolveLiterally(std::string_view asWritten) const;
    // Whether a full path lies inside the project folder.
    bool contains(std::string_view fullPath) const;
    // The name a file gets in the help file: "/" and its place below the project folder.
    // Files outside it take the place their relative path reaches from the root, as a
    // viewer resolves "../" against the root.
    std::string storedName(std::string_view fullPath) const;
    bool sameFile(std::string_view a, std::string_view b) const;
    bool isAbsolute(std::string_view path) const;
    // Removes "." and ".." steps and doubled separators; "/" separates.
    std::string tidy(std::string_view path) const;

private:
    std::string folder_;
    PathRules rules_;
};

// "/a/b.htm" for "a/b.htm", "./a/b.htm", "a/../a/b.htm" or "../a/b.htm": the name a link
// relative to the root of a help file reaches.
std::string nameFromRoot(std::string_view link);

} // namespace folvane::chm
