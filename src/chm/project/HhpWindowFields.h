#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

// The fields of a window definition, the text after "name=".
class HhpWindowFields {
public:
    // Comma-separated; a field in quotes loses them and may hold commas and quotes of its
    // own: it ends at a quote followed by a comma or the end of the line. "[l,t,r,b]" is
    // one field. Empty fields stay, as empty strings; an empty text has no fields.
    static std::vector<std::string> split(std::string_view text);
};

} // namespace folvane::chm
