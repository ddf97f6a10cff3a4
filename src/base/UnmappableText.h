#pragma once

#include "base/CodePage.h"

#include <string>

namespace folvane {

// Appends what stands for a character that a code page lacks.
void appendUnmappable(std::string& out, char32_t codePoint, CodePage::Unmappable unmappable);

} // namespace folvane
