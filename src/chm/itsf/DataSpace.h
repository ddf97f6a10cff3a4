#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace folvane::chm {

// The files under ::DataSpace that tell readers how content section 1 is stored: LZX with
// a 64 KiB window, reset every two 32 KiB frames.
namespace dataspace {

inline const std::string kNameList = "::DataSpace/NameList";
inline const std::string kContent = "::DataSpace/Storage/MSCompressed/Content";
inline const std::string kControlData = "::DataSpace/Storage/MSCompressed/ControlData";
inline const std::string kSpanInfo = "::DataSpace/Storage/MSCompressed/SpanInfo";
inline const std::string kTransformList = "::DataSpace/Storage/MSCompressed/Transform/List";
inline const std::string kResetTable = "::DataSpace/Storage/MSCompressed/Transform/"
                                       "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

std::vector<std::uint8_t> nameList();
std::vector<std::uint8_t> controlData();
std::vector<std::uint8_t> spanInfo(std::uint64_t uncompressedLength);
std::vector<std::uint8_t> transformList();
// frameStarts: the compressed offset of every frame, the first being 0.
std::vector<std::uint8_t> resetTable(const std::vector<std::uint64_t>& frameStarts, std::uint64_t uncompressedLength,
                                     std::uint64_t compressedLength);

} // namespace dataspace
} // namespace folvane::chm
