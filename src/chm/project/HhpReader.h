#pragma once

#include "chm/project/HhpProject.h"

#include <cstdint>
#include <string_view>

namespace folvane::chm {

// Reads the text of a project file (already decoded to UTF-8) the way the Windows help
// compiler reads it. Never fails: lines it cannot use become notices.
class HhpReader {
public:
    static HhpProject read(std::string_view utf8Text);
    // A project file as it lies on disk: UTF-8 or UTF-16 where its bytes say so, otherwise
    // in the ANSI code page of its own "Language=", or systemCodePage when it names none.
    static HhpProject readFile(std::string_view bytes, std::uint32_t systemCodePage);
};

} // namespace folvane::chm
