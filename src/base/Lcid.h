#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace folvane {

constexpr std::uint32_t kLcidChineseSimplified = 0x804;
constexpr std::uint32_t kLcidEnglishUs = 0x409;

// Windows language identifiers and what follows from them.
class Lcid {
public:
    // The ANSI code page of a language: 936 for 0x804, 950 for 0x404, 932 for 0x411,
    // 949 for 0x412, 1252 for Western languages, ...; 1252 for unknown ones.
    static std::uint32_t ansiCodePage(std::uint32_t lcid);
    // Whether the language's code page uses two bytes per character (Chinese, Japanese, Korean).
    static bool isDoubleByte(std::uint32_t lcid);
    // From a POSIX locale name such as "zh_CN.UTF-8", "ja_JP", "en_US@euro": the LCID of its
    // language and territory; a language alone gives its main territory. None for "C",
    // "POSIX", empty or unknown names.
    static std::optional<std::uint32_t> fromLocaleName(std::string_view name);
    // "0x804 中文(中国)", "2052", "0x0804": the leading number, hexadecimal after "0x".
    static std::optional<std::uint32_t> parse(std::string_view text);
    // Whether UTF-8 text holds a CJK ideograph, kana or hangul.
    static bool containsCjk(std::string_view utf8);
};

} // namespace folvane
