#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace folvane::formats {

// How a text file of a help project is encoded, decided alike for the window and the compiler;
// each converts with its own tools.
struct TextEncoding {
    enum class Form { Utf8, Utf16LittleEndian, Utf16BigEndian, CodePage };
    Form form = Form::Utf8;
    // With Form::CodePage the text's; with Form::Utf8 without a mark, the one bytes that are
    // not valid UTF-8 are in: each half checks validity with its own fast tool.
    std::uint32_t codePage = 0;
    std::size_t markLength = 0; // the byte-order mark before the text
};

// Project, contents and index files, headers, the stop list: a byte-order mark decides, even
// where the bytes then go wrong; else UTF-8 when the bytes are valid UTF-8; else the fallback
// code page.
TextEncoding projectTextEncoding(std::string_view bytes, std::uint32_t fallbackCodePage);
// Pages: a byte-order mark decides; then the code page a <meta> declares, unless it is UTF-8
// or one this system cannot convert (GB18030 is then read as its subset GBK); then as
// project text.
TextEncoding pageTextEncoding(std::string_view bytes, std::uint32_t fallbackCodePage);

// The text as UTF-8; what is not valid in its encoding becomes U+FFFD.
std::string toUtf8(std::string_view bytes, const TextEncoding& encoding);

struct DecodedText {
    std::string utf8;
    bool wasUtf8 = true;
    bool fromCodePage = false; // decoded from the fallback code page
};
DecodedText decodeText(std::string_view bytes, std::uint32_t fallbackCodePage);
std::string decodePage(std::string_view bytes, std::uint32_t fallbackCodePage);

} // namespace folvane::formats
