#pragma once

#include <cstdint>
#include <string>

namespace folvane::chm {

struct CompileResult {
    std::string outputFile;        // UTF-8
    std::uint64_t files = 0;       // files of the project stored
    std::uint64_t linkedFiles = 0; // of them, files the project does not list that its pages use
    // Files of [FILES], the contents file and the index file that the help file lacks.
    std::uint64_t missingFiles = 0;
    std::uint64_t uncompressedBytes = 0;
    std::uint64_t fileBytes = 0; // size of the help file
    double seconds = 0;
    std::uint32_t lcid = 0;
    std::uint32_t codePage = 0;
    bool searchIndex = false; // a full-text search index was written
    std::uint64_t indexedPages = 0;
    std::uint64_t indexBytes = 0; // its size, uncompressed
};

} // namespace folvane::chm
