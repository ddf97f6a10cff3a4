#pragma once

#include "chm/project/HhpProject.h"

#include <string_view>

namespace folvane::chm {

// The keys of [OPTIONS]: which ones we read, which ones we accept without a word and which
// ones we tell the user we leave out.
class HhpOptions {
public:
    // key and value are trimmed; a later line with the same key overrides an earlier one.
    static void apply(HhpProject& project, std::string_view key, std::string_view value);
};

} // namespace folvane::chm
