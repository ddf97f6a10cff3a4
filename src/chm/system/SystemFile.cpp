#include "chm/system/SystemFile.h"

#include "chm/itsf/ByteWriter.h"

#include <string_view>
#include <utility>

namespace folvane::chm {

namespace {

constexpr std::uint16_t kContentsFile = 0;
constexpr std::uint16_t kIndexFile = 1;
constexpr std::uint16_t kDefaultTopic = 2;
constexpr std::uint16_t kTitle = 3;
constexpr std::uint16_t kLanguage = 4;
constexpr std::uint16_t kDefaultWindow = 5;
constexpr std::uint16_t kCompiledFile = 6;
constexpr std::uint16_t kBinaryIndex = 7;
constexpr std::uint16_t kCompilerVersion = 9;
constexpr std::uint16_t kTimestamp = 10;
constexpr std::uint16_t kBinaryContents = 11;
constexpr std::uint16_t kDefaultFont = 16;
// Viewers decide from it which features the file has; this is the newest layout.
constexpr std::string_view kVersionText = "HHA Version 4.74.8702";
constexpr std::size_t kMaxText = 0xFFFE;

void text(ByteWriter& w, std::uint16_t code, std::string_view value) {
    if (value.size() > kMaxText)
        value = value.substr(0, kMaxText);
    w.u16(code);
    w.u16(static_cast<std::uint16_t>(value.size() + 1));
    w.text(value);
    w.u8(0);
}

void textIfAny(ByteWriter& w, std::uint16_t code, std::string_view value) {
    if (!value.empty())
        text(w, code, value);
}

} // namespace

std::vector<std::uint8_t> systemFile(const SystemInfo& info) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.u32(3);
    w.u16(kTimestamp);
    w.u16(4);
    w.u32(info.timestamp);
    text(w, kCompilerVersion, kVersionText);
    w.u16(kLanguage);
    w.u16(36);
    w.u32(info.lcid);
    w.u32(info.doubleByte ? 1 : 0);
    w.u32(info.fullTextSearch ? 1 : 0);
    w.u32(info.binaryIndex ? 1 : 0); // keyword links
    w.u32(info.associativeLinks ? 1 : 0);
    w.u64(info.fileTime);
    w.u32(0);
    w.u32(0);
    textIfAny(w, kDefaultTopic, info.defaultTopic);
    textIfAny(w, kTitle, info.title);
    textIfAny(w, kDefaultFont, info.defaultFont);
    textIfAny(w, kCompiledFile, info.compiledFileStem);
    textIfAny(w, kContentsFile, info.contentsFile);
    textIfAny(w, kIndexFile, info.indexFile);
    textIfAny(w, kDefaultWindow, info.defaultWindow);
    for (const auto& [code, present] :
         {std::pair{kBinaryIndex, info.binaryIndex}, {kBinaryContents, info.binaryContents}}) {
        if (!present)
            continue;
        w.u16(code);
        w.u16(4);
        w.u32(0);
    }
    return out;
}

} // namespace folvane::chm
