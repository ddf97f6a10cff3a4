#include "base/CodePage.h"

#include "base/UnmappableText.h"
#include "base/Utf8.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <vector>

namespace folvane {

namespace {

constexpr const char* kUtf8Name = "UTF-8";

struct CodePageName {
    std::uint32_t codePage;
    const char* iconvName;
};

// The names glibc's iconv gives the Windows code pages.
constexpr std::array kCodePageNames{
    CodePageName{437, "CP437"},        CodePageName{850, "CP850"},         CodePageName{866, "CP866"},
    CodePageName{874, "CP874"},        CodePageName{932, "CP932"},         CodePageName{936, "CP936"},
    CodePageName{949, "CP949"},        CodePageName{950, "CP950"},         CodePageName{1250, "CP1250"},
    CodePageName{1251, "CP1251"},      CodePageName{1252, "CP1252"},       CodePageName{1253, "CP1253"},
    CodePageName{1254, "CP1254"},      CodePageName{1255, "CP1255"},       CodePageName{1256, "CP1256"},
    CodePageName{1257, "CP1257"},      CodePageName{1258, "CP1258"},       CodePageName{20127, "ASCII"},
    CodePageName{20866, "KOI8-R"},     CodePageName{20932, "EUC-JP"},      CodePageName{21866, "KOI8-U"},
    CodePageName{28591, "ISO-8859-1"}, CodePageName{28592, "ISO-8859-2"},  CodePageName{28595, "ISO-8859-5"},
    CodePageName{28597, "ISO-8859-7"}, CodePageName{28605, "ISO-8859-15"}, CodePageName{51949, "EUC-KR"},
    CodePageName{54936, "GB18030"},
};

// glibc converts from UTF-8 in two steps and, when the second fails on a character, runs
// the first again over all the input it was given: small pieces keep text with many
// unmappable characters fast.
constexpr std::size_t kPieceBytes = 256;

// A piece ends before the lead byte of a character, never inside one.
std::size_t pieceEnd(std::string_view utf8, std::size_t start) {
    std::size_t end = std::min(utf8.size(), start + kPieceBytes);
    for (int back = 0; back < 3 && end < utf8.size() && end > start + 1; ++back) {
        if ((static_cast<unsigned char>(utf8[end]) & 0xC0) != 0x80)
            break;
        --end;
    }
    return end;
}

// The other ISO 8859 parts and DOS code pages under glibc's own spelling, as Windows knows them all.
std::string iconvName(std::uint32_t codePage) {
    for (const CodePageName& entry : kCodePageNames) {
        if (entry.codePage == codePage)
            return entry.iconvName;
    }
    if (codePage > 28590 && codePage <= 28606)
        return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

// One conversion descriptor per call: iconv_t keeps state and must not be shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts from pos on into out until the input ends or a character fails; returns
    // where it stopped. Output a converter holds back (code pages that combine marks) is
    // written out first, so what the caller appends next lands in order.
    std::size_t run(std::string_view input, std::size_t pos, std::string& out) {
        char* in = const_cast<char*>(input.data() + pos);
        std::size_t inLeft = input.size() - pos;
        while (true) {
            std::array<char, 16384> buffer;
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            const std::size_t result = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.append(buffer.data(), buffer.size() - outLeft);
            if (result != static_cast<std::size_t>(-1) || error != E2BIG)
                break;
        }
        flush(out);
        return input.size() - inLeft;
    }

private:
    void flush(std::string& out) {
        std::array<char, 64> buffer;
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
    }

    iconv_t cd_;
};

// Opening a converter costs more than converting a short name: each thread keeps the ones
// it opened. Every run ends in the initial state, so a kept converter starts clean.
Converter& converter(std::uint32_t codePage, bool fromUtf8) {
    struct Kept {
        std::uint32_t codePage;
        bool fromUtf8;
        std::unique_ptr<Converter> converter;
    };
    thread_local std::vector<Kept> kept;
    for (const Kept& k : kept)
        if (k.codePage == codePage && k.fromUtf8 == fromUtf8)
            return *k.converter;
    const std::string name = iconvName(codePage);
    kept.push_back(
        {codePage, fromUtf8,
         std::make_unique<Converter>(fromUtf8 ? name.c_str() : kUtf8Name, fromUtf8 ? kUtf8Name : name.c_str())});
    return *kept.back().converter;
}

} // namespace

bool CodePage::supported(std::uint32_t codePage) {
    if (codePage == kUtf8)
        return true;
    return converter(codePage, true).ok() && converter(codePage, false).ok();
}

std::string CodePage::fromUtf8(std::string_view utf8, std::uint32_t codePage, Unmappable unmappable) {
    if (codePage == kUtf8)
        return Utf8::sanitized(utf8);
    Converter& toCodePage = converter(codePage, true);
    if (!toCodePage.ok())
        return Utf8::sanitized(utf8);
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t end = pieceEnd(utf8, pos);
        pos = toCodePage.run(utf8.substr(0, end), pos, out);
        if (pos >= end)
            continue;
        // A character the code page lacks, or a byte that is no UTF-8.
        const Utf8::Decoded bad = Utf8::decode(utf8, pos);
        appendUnmappable(out, bad.codePoint, unmappable);
        pos += bad.length;
    }
    return out;
}

std::string CodePage::toUtf8(std::string_view bytes, std::uint32_t codePage) {
    if (codePage == kUtf8)
        return Utf8::sanitized(bytes);
    Converter& fromCodePage = converter(codePage, false);
    if (!fromCodePage.ok())
        return Utf8::sanitized(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        pos = fromCodePage.run(bytes, pos, out);
        if (pos >= bytes.size())
            break;
        Utf8::append(out, Utf8::kReplacement);
        ++pos;
    }
    return out;
}

} // namespace folvane
