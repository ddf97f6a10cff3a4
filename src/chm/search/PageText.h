#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace folvane::chm {

// What a reader sees of a page: its title and the text of its body, UTF-8. Runs of
// blanks are one space; there are none at either end.
struct PageText {
    std::string title;
    std::string body;
};

// bytes: the page file as stored. fallbackCodePage: the Windows code page of a page that
// declares no charset and is not valid UTF-8. Takes any bytes.
PageText extractPageText(std::string_view bytes, std::uint32_t fallbackCodePage);

} // namespace folvane::chm
