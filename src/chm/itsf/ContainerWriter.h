#pragma once

#include "chm/itsf/Directory.h"
#include "chm/itsf/DirectoryEntry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace folvane::chm {

class OutputFile;
struct CompressedSpan;

// A file of content section 0, stored as it is.
struct PlainFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Writes an ITSF version 3 container: header, header sections, directory, content
// section 0, and in it the compressed section 1 as it arrives. The layout is fixed by
// plan(), before any compressed byte exists, so the content streams straight to its place
// and only the head of the file and what follows the content are written last. Files whose
// size is known only at the end (the tables that list every page, the search index) close
// the stream as late files.
class ContainerWriter {
public:
    ContainerWriter(OutputFile& out, std::uint32_t lcid, std::uint32_t timestamp);
    ~ContainerWriter();

    // plainFiles: files of section 0. compressedFiles: the names, offsets and lengths of the
    // files at the start of the uncompressed stream of section 1. lateFiles: the names of the
    // files that follow them, placed by finish(). Folder entries for every folder named are
    // added. Names must be unique in listing order.
    void plan(std::vector<PlainFile> plainFiles, std::vector<DirectoryEntry> compressedFiles,
              const std::vector<std::string>& lateFiles = {});
    // The next compressed span of the stream, in order.
    void append(const CompressedSpan& span);
    // Writes everything but the content; throws CompileError when the content that arrived
    // does not match streamLength or a late file was not placed.
    void finish(const std::vector<DirectoryEntry>& lateFiles, std::uint64_t streamLength);

    std::uint64_t compressedLength() const { return compressed_; }
    std::uint64_t fileLength() const { return contentStart_ + compressed_ + resetTable_.size(); }

private:
    static std::vector<DirectoryEntry> folderEntries(const std::vector<DirectoryEntry>& entries);
    std::vector<std::uint8_t> head() const;

    OutputFile& out_;
    std::uint32_t lcid_;
    std::uint32_t timestamp_;
    std::unique_ptr<Directory> directory_;
    std::vector<PlainFile> plain_;
    std::vector<std::string> late_;
    std::uint64_t plainBytes_ = 0;
    std::uint64_t streamLength_ = 0;
    std::vector<std::uint8_t> resetTable_;
    std::uint64_t contentStart_ = 0;
    std::uint64_t compressed_ = 0;
    std::vector<std::uint64_t> frameStarts_;
    std::uint64_t framesEnd_ = 0;
};

} // namespace folvane::chm
