#pragma once

#include <string>
#include <string_view>

namespace folvane {

// UTF-16 to and from UTF-8. A lone surrogate or a bad UTF-8 byte becomes U+FFFD.
class Utf16 {
public:
    enum class ByteOrder { LittleEndian, BigEndian };

    // Bytes of UTF-16 text without its byte-order mark; an odd last byte becomes U+FFFD.
    static std::string bytesToUtf8(std::string_view bytes, ByteOrder order);
    static std::string toUtf8(std::u16string_view text);
    static std::u16string fromUtf8(std::string_view utf8);
};

} // namespace folvane
