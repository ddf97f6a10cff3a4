#include "chm/itsf/ContainerWriter.h"

#include "chm/CompileError.h"
#include "chm/itsf/ByteWriter.h"
#include "chm/itsf/DataSpace.h"
#include "chm/itsf/Guid.h"
#include "chm/lzx/LzxEncoder.h"
#include "chm/platform/OutputFile.h"

#include <set>

namespace folvane::chm {

namespace {
constexpr std::uint64_t kItsfHeaderSize = 0x60;
constexpr std::uint64_t kHeaderSection0Size = 0x18;
} // namespace

ContainerWriter::ContainerWriter(OutputFile& out, std::uint32_t lcid, std::uint32_t timestamp)
    : out_(out), lcid_(lcid), timestamp_(timestamp) {}

ContainerWriter::~ContainerWriter() = default;

std::vector<DirectoryEntry> ContainerWriter::folderEntries(const std::vector<DirectoryEntry>& entries) {
    std::set<std::string> folders{"/"};
    for (const DirectoryEntry& e : entries) {
        if (e.name.empty() || e.name[0] != '/')
            continue;
        for (std::size_t slash = e.name.find('/', 1); slash != std::string::npos; slash = e.name.find('/', slash + 1))
            folders.insert(e.name.substr(0, slash + 1));
    }
    std::vector<DirectoryEntry> out;
    for (const std::string& folder : folders)
        out.push_back({folder, 0, 0, 0});
    return out;
}

void ContainerWriter::plan(std::vector<PlainFile> plainFiles, std::vector<DirectoryEntry> compressedFiles,
                           const std::vector<std::string>& lateFiles) {
    plain_ = std::move(plainFiles);
    plain_.push_back({dataspace::kNameList, dataspace::nameList()});
    plain_.push_back({dataspace::kControlData, dataspace::controlData()});
    // Filled in by head(), once the stream's length is known.
    plain_.push_back({dataspace::kSpanInfo, dataspace::spanInfo(0)});
    plain_.push_back({dataspace::kTransformList, dataspace::transformList()});

    late_ = lateFiles;
    for (const std::string& name : lateFiles)
        compressedFiles.push_back({name, 1, 0, 0});
    std::vector<DirectoryEntry> entries = folderEntries(compressedFiles);
    std::uint64_t offset = 0;
    for (const PlainFile& file : plain_) {
        entries.push_back({file.name, 0, file.bytes.empty() ? 0 : offset, file.bytes.size()});
        offset += file.bytes.size();
    }
    plainBytes_ = offset;
    entries.push_back({dataspace::kContent, 0, offset, 0});
    // The reset table follows the content: its size grows with the stream.
    entries.push_back({dataspace::kResetTable, 0, 0, 0});
    for (DirectoryEntry& e : compressedFiles) {
        e.section = 1;
        entries.push_back(std::move(e));
    }
    std::vector<std::string> late = lateFiles;
    late.push_back(dataspace::kContent);
    late.push_back(dataspace::kResetTable);
    directory_ = std::make_unique<Directory>(std::move(entries), late);
    contentStart_ = kItsfHeaderSize + kHeaderSection0Size + directory_->encodedSize() + offset;
    compressed_ = 0;
    frameStarts_.clear();
    framesEnd_ = 0;
    resetTable_.clear();
}

void ContainerWriter::append(const CompressedSpan& span) {
    for (const std::uint32_t start : span.frameStarts)
        frameStarts_.push_back(compressed_ + start);
    framesEnd_ = compressed_ + span.framesEnd;
    out_.writeAt(contentStart_ + compressed_, span.bytes);
    compressed_ += span.bytes.size();
}

std::vector<std::uint8_t> ContainerWriter::head() const {
    const std::uint64_t directoryStart = kItsfHeaderSize + kHeaderSection0Size;
    const std::uint64_t section0Start = directoryStart + directory_->encodedSize();
    std::vector<std::uint8_t> out;
    out.reserve(contentStart_);
    ByteWriter w(out);
    w.text("ITSF");
    w.u32(3);
    w.u32(kItsfHeaderSize);
    w.u32(1);
    w.u32be(timestamp_);
    w.u32(lcid_);
    w.bytes(kItsfGuid1);
    w.bytes(kItsfGuid2);
    w.u64(kItsfHeaderSize);
    w.u64(kHeaderSection0Size);
    w.u64(directoryStart);
    w.u64(directory_->encodedSize());
    w.u64(section0Start);
    // Header section 0: the length of the whole file.
    w.u32(0x01FE);
    w.u32(0);
    w.u64(fileLength());
    w.u32(0);
    w.u32(0);
    w.bytes(directory_->encode(lcid_));
    for (const PlainFile& file : plain_)
        w.bytes(file.name == dataspace::kSpanInfo ? dataspace::spanInfo(streamLength_) : file.bytes);
    return out;
}

void ContainerWriter::finish(const std::vector<DirectoryEntry>& lateFiles, std::uint64_t streamLength) {
    if (frameStarts_.size() != (streamLength + kLzxFrameSize - 1) / kLzxFrameSize)
        throw CompileError("内部错误：压缩数据与计划不符");
    if (lateFiles.size() != late_.size())
        throw CompileError("内部错误：帮助文件末尾的文件与计划不符");
    streamLength_ = streamLength;
    for (const DirectoryEntry& e : lateFiles)
        directory_->setLate(e.name, e.offset, e.length);
    frameStarts_.push_back(framesEnd_);
    resetTable_ = dataspace::resetTable(frameStarts_, streamLength_, compressed_);
    directory_->setLate(dataspace::kContent, plainBytes_, compressed_);
    directory_->setLate(dataspace::kResetTable, plainBytes_ + compressed_, resetTable_.size());
    const std::vector<std::uint8_t> bytes = head();
    if (bytes.size() != contentStart_)
        throw CompileError("内部错误：文件头大小与计划不符");
    out_.writeAt(contentStart_ + compressed_, resetTable_);
    out_.writeAt(0, bytes);
}

} // namespace folvane::chm
