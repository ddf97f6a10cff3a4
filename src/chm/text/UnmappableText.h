#pragma once

#include "chm/text/CodePage.h"

#include <string>

namespace folvane::chm {

// Appends what stands for a character that a code page lacks.
void appendUnmappable(std::string& out, char32_t codePoint, CodePage::Unmappable unmappable);

} // namespace folvane::chm
