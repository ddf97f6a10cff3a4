#include "chm/text/UnmappableText.h"

namespace folvane::chm {

void appendUnmappable(std::string& out, char32_t codePoint, CodePage::Unmappable unmappable) {
    if (unmappable == CodePage::Unmappable::Question) {
        out += '?';
        return;
    }
    out += "&#";
    out += std::to_string(static_cast<unsigned long>(codePoint));
    out += ';';
}

} // namespace folvane::chm
