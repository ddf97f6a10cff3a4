#pragma once

#include <cstdint>
#include <optional>

namespace folvane {

// The language the system would give a help file: on Windows the user's default LCID; on
// POSIX the language and territory of LC_ALL, LC_CTYPE or LANG (the first one set). None
// when the locale names no language (C, POSIX).
std::optional<std::uint32_t> systemLcid();

// The code page of text files that are not UTF-8: on Windows the ANSI code page; on POSIX
// the ANSI code page of the system's language, 1252 when it names none.
std::uint32_t systemAnsiCodePage();

} // namespace folvane
