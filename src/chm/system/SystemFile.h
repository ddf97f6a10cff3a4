#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace folvane::chm {

// What #SYSTEM tells a viewer. Texts are in the help file's code page.
struct SystemInfo {
    std::string contentsFile;
    std::string indexFile;
    std::string defaultTopic;
    std::string title;
    std::string defaultWindow;
    std::string defaultFont;
    // The output file's name without folder and extension, in lower case.
    std::string compiledFileStem;
    std::uint32_t lcid = 0;
    bool doubleByte = false;
    bool fullTextSearch = false;
    // The help file holds #TOCIDX, or $WWKeywordLinks with keywords.
    bool binaryContents = false;
    bool binaryIndex = false;
    bool associativeLinks = false; // $WWAssociativeLinks
    std::uint32_t timestamp = 0;
    // The compile time as a Windows FILETIME.
    std::uint64_t fileTime = 0;
};

// #SYSTEM: a version word, then records of a code, a length and data, in the order
// viewers are used to.
std::vector<std::uint8_t> systemFile(const SystemInfo& info);

} // namespace folvane::chm
