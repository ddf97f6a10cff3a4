#pragma once

// Free of Qt on purpose: this file is also built alone with a cross compiler and tested
// under Wine.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace folvane {

// The folder listing and the file writes of the Windows build, through the
// wide-character API so that names keep every character whatever the ANSI code page, and
// in the "\\?\" form for paths too long for the ordinary one.
class WinFileSystemCalls {
public:
    // Volume serial and file index: the same through every junction that leads to the folder.
    using FolderId = std::pair<std::uint64_t, std::uint64_t>;
    using Visitor = std::function<void(const std::wstring& name, bool isFolder)>;
    enum class WriteMode { Replace, InPlace, Append };

    static bool folderId(const std::wstring& folder, FolderId& id);
    // Every entry but "." and "..", hidden and system ones included; junctions and links
    // to folders count as folders. False when the folder cannot be listed.
    static bool listFolder(const std::wstring& folder, const Visitor& visit);
    // Writes bytes as the file's content (Replace: through a new file renamed over it once
    // written and flushed, so that a failure leaves the previous file whole). Returns 0 or
    // the system's error code.
    static unsigned long writeFile(const std::wstring& path, const std::string& bytes, WriteMode mode);
};

} // namespace folvane
