#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace folvane::chm {

// Paths travel as UTF-8 text through the compiler and become native paths only to open files.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

} // namespace folvane::chm
