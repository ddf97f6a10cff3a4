#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace folvane::chm {

// Cuts visible text into the words readers search for: runs of letters, digits and "_",
// lower-cased. Chinese and Japanese text has no spaces, so each of its characters is a word
// of its own: readers split a query in these scripts into characters and match them by
// position.
class WordBreaker {
public:
    // Longer words are left out: the index stores a word's length in one byte.
    static constexpr std::size_t kMaxWordBytes = 99;

    // Ignorable: invisible inside a word (soft hyphen, joiners), so left out of it.
    enum class Kind : std::uint8_t { Separator, Letter, Ideograph, Ignorable };
    static Kind kindOf(char32_t c);
    static char32_t lowered(char32_t c);

    // Calls sink(word, position) for each word of text (UTF-8); positions count on from
    // first, one per word. Returns the position after the last word.
    template <class Sink> static std::uint32_t split(std::string_view text, std::uint32_t first, Sink&& sink);

private:
    enum class AsciiClass : std::uint8_t { Other, Lower, Upper, NotAscii };
    // Lower: a-z, 0-9 and "_", the bytes a word keeps as they are.
    static constexpr std::array<AsciiClass, 256> kAsciiClasses = [] {
        std::array<AsciiClass, 256> classes{};
        for (int b = 0; b < 256; ++b) {
            if (b >= 0x80)
                classes[b] = AsciiClass::NotAscii;
            else if ((b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '_')
                classes[b] = AsciiClass::Lower;
            else if (b >= 'A' && b <= 'Z')
                classes[b] = AsciiClass::Upper;
            else
                classes[b] = AsciiClass::Other;
        }
        return classes;
    }();
    static AsciiClass asciiClass(char c) { return kAsciiClasses[static_cast<unsigned char>(c)]; }

    // The character at pos, and where the next one starts.
    static char32_t decodeAt(std::string_view text, std::size_t& pos);
    static void append(std::string& out, char32_t c);
};

template <class Sink> std::uint32_t WordBreaker::split(std::string_view text, std::uint32_t first, Sink&& sink) {
    constexpr std::size_t kNone = std::string_view::npos;
    std::uint32_t position = first;
    // A word is a slice of the text until a letter needs lower-casing; then it is copied.
    std::size_t start = kNone;
    bool copied = false;
    std::string copy;
    const auto beginWord = [&](std::size_t at) {
        if (start == kNone) {
            start = at;
            copied = false;
        }
    };
    const auto startCopy = [&](std::size_t at) {
        if (!copied) {
            copy.assign(text.substr(start, at - start));
            copied = true;
        }
    };
    const auto endWord = [&](std::size_t at) {
        if (start == kNone)
            return;
        const std::string_view word = copied ? std::string_view(copy) : text.substr(start, at - start);
        if (word.size() <= kMaxWordBytes)
            sink(word, position++);
        start = kNone;
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            switch (asciiClass(byte)) {
            case AsciiClass::Lower:
                beginWord(pos);
                if (copied) {
                    copy.push_back(static_cast<char>(byte));
                    ++pos;
                } else {
                    // Most words are lower-case ASCII: a slice of the text, found in one run.
                    while (++pos < text.size() && asciiClass(text[pos]) == AsciiClass::Lower) {
                    }
                }
                break;
            case AsciiClass::Upper:
                beginWord(pos);
                startCopy(pos);
                copy.push_back(static_cast<char>(byte + ('a' - 'A')));
                ++pos;
                break;
            case AsciiClass::Other:
            case AsciiClass::NotAscii: // not reached: byte < 0x80
                endWord(pos);
                while (++pos < text.size() && asciiClass(text[pos]) == AsciiClass::Other) {
                }
                break;
            }
            continue;
        }
        const std::size_t at = pos;
        const char32_t c = decodeAt(text, pos);
        switch (kindOf(c)) {
        case Kind::Letter: {
            beginWord(at);
            const char32_t lower = lowered(c);
            if (lower != c)
                startCopy(at);
            if (copied)
                append(copy, lower);
            break;
        }
        case Kind::Ideograph:
            endWord(at);
            sink(text.substr(at, pos - at), position++);
            break;
        case Kind::Ignorable:
            if (start != kNone)
                startCopy(at);
            break;
        case Kind::Separator:
            endWord(at);
            break;
        }
    }
    endWord(text.size());
    return position;
}

} // namespace folvane::chm
