#pragma once

#include <cstdint>
#include <string>

namespace folvane::chm {

struct CompileResult {
    std::string outputFile;  // UTF-8
    std::uint64_t files = 0; // files of the project stored
    std::uint64_t uncompressedBytes = 0;
    std::uint64_t fileBytes = 0; // size of the help file
    double seconds = 0;
    std::uint32_t lcid = 0;
    std::uint32_t codePage = 0;
};

} // namespace folvane::chm
