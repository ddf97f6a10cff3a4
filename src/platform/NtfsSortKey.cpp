#include "platform/NtfsSortKey.h"

#include <utility>

namespace folvane {

NtfsSortKey::NtfsSortKey(QString name) : name_(std::move(name)), upper_(name_) {
    for (QChar& c : upper_) {
        // The volume's upcase table maps single code units: surrogate halves stay, and no
        // mapping there leaves the basic plane.
        if (c.isSurrogate())
            continue;
        const char32_t upper = QChar::toUpper(char32_t(c.unicode()));
        if (upper <= 0xFFFF)
            c = QChar(char16_t(upper));
    }
}

} // namespace folvane
