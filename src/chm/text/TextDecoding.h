#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace folvane::chm {

// Text files of a project (project, contents and index files, headers, the stop list) as
// UTF-8: taken as UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped), as
// UTF-16 after its byte-order mark, otherwise decoded from the fallback code page: the
// project's own, which its language gives.
struct DecodedText {
    std::string utf8;
    bool wasUtf8 = true;
    bool fromCodePage = false; // decoded from the fallback code page
};

DecodedText decodeText(std::string_view bytes, std::uint32_t fallbackCodePage);

bool isValidUtf8(std::string_view bytes);

} // namespace folvane::chm
