// Checks the Windows code page conversions against the system's tables: cross-compiled with
// mingw-w64 and run under Wine by scripts/test-windows-wine.sh. Plain C++, no Qt.

#include "base/CodePage.h"
#include "base/SystemLocale.h"
#include "formats/TextDecoding.h"

#include <windows.h>

#include <cstdio>
#include <string>

using namespace folvane;

namespace {

int failures = 0;
int passes = 0;

std::string hex(const std::string& bytes) {
    std::string out;
    char digits[4];
    for (const char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", static_cast<unsigned>(static_cast<unsigned char>(c)));
        out += digits;
    }
    return out;
}

void checkBytes(const std::string& got, const std::string& expected, const char* what) {
    if (got == expected) {
        ++passes;
        return;
    }
    ++failures;
    std::printf("FAIL %s\n  got      %s\n  expected %s\n", what, hex(got).c_str(), hex(expected).c_str());
}

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

const std::string kBad = "\xEF\xBF\xBD";     // U+FFFD
const std::string kGbk = "\xD6\xD0\xCE\xC4"; // 中文 in 936

void fromUtf8() {
    const auto ref = CodePage::Unmappable::NumericReference;
    const auto question = CodePage::Unmappable::Question;
    checkBytes(CodePage::fromUtf8("中文😀!", 936, ref), kGbk + "&#128512;!", "emoji as reference");
    checkBytes(CodePage::fromUtf8("中文😀!", 936, question), kGbk + "?!", "emoji as ?");
    checkBytes(CodePage::fromUtf8("a€b", 1252, question),
               "a\x80"
               "b",
               "euro in 1252");
    checkBytes(CodePage::fromUtf8("Ωä中", 1252, ref), "&#937;\xE4&#20013;", "no best fit in 1252");
    checkBytes(CodePage::fromUtf8("a\xFF"
                                  "b",
                                  936, question),
               "a?b", "bad UTF-8 byte");
    checkBytes(CodePage::fromUtf8("中文", 950, question), "\xA4\xA4\xA4\xE5", "Big5");
    checkBytes(CodePage::fromUtf8(repeated("中", 4095) + "😀", 936, ref), repeated("\xD6\xD0", 4095) + "&#128512;",
               "surrogate pair at the end of a piece");
    checkBytes(CodePage::fromUtf8("中😀", 65001, ref), "中😀", "UTF-8 stays");
}

void toUtf8() {
    checkBytes(CodePage::toUtf8(kGbk, 936), "中文", "GBK");
    checkBytes(CodePage::toUtf8("\xD6\x20"
                                "A\x81",
                                936),
               kBad + " A" + kBad, "GBK, bad lead bytes");
    checkBytes(CodePage::toUtf8("\x93\xFA\x96\x7B", 932), "日本", "Shift JIS");
    checkBytes(CodePage::toUtf8(repeated("x\xD6\xD0\n", 3) + "\x81", 936), repeated("x中\n", 3) + kBad,
               "lines after a bad one");
    checkBytes(formats::decodeText("\xC0\xAF", 1252).utf8, "À¯", "overlong is no UTF-8");
}

} // namespace

int main() {
    fromUtf8();
    toUtf8();
    if (!CodePage::supported(936) || CodePage::supported(12345)) {
        ++failures;
        std::printf("FAIL supported code pages\n");
    }
    std::printf("system code page %u, language 0x%X\n", systemAnsiCodePage(), systemLcid().value_or(0));
    std::printf("%d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
