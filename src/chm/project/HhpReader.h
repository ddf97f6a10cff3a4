#pragma once

#include "chm/project/HhpProject.h"

#include <string_view>

namespace folvane::chm {

// Reads the text of a project file (already decoded to UTF-8) the way the Windows help
// compiler reads it. Never fails: lines it cannot use become notices.
class HhpReader {
public:
    static HhpProject read(std::string_view utf8Text);
};

} // namespace folvane::chm
