#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace folvane::chm {

// Cuts visible text into the words readers search for: runs of letters, digits and "_",
// lower-cased. Chinese and Japanese text has no spaces, so each of its characters is a word
// and so is each pair of neighbours: readers that split a query into characters match them
// by position, readers that look a two-character word up whole find the pair.
class WordBreaker {
public:
    // Longer words are left out: the index stores a word's length in one byte.
    static constexpr std::size_t kMaxWordBytes = 99;

    enum class Kind : std::uint8_t { Separator, Letter, Ideograph };
    static Kind kindOf(char32_t c);
    static char32_t lowered(char32_t c);

    // Calls sink(word, position) for each word of text (UTF-8); positions count on from
    // first, one per word, a pair taking the position of its first character. Returns the
    // position after the last word.
    template <class Sink> static std::uint32_t split(std::string_view text, std::uint32_t first, Sink&& sink);

private:
    // The character at pos, and where the next one starts.
    static char32_t decodeAt(std::string_view text, std::size_t& pos);
    static void append(std::string& out, char32_t c);
};

template <class Sink> std::uint32_t WordBreaker::split(std::string_view text, std::uint32_t first, Sink&& sink) {
    std::uint32_t position = first;
    std::string word;
    std::string pair;
    char32_t lastIdeograph = 0;
    const auto endWord = [&] {
        if (!word.empty() && word.size() <= kMaxWordBytes)
            sink(std::string_view(word), position++);
        word.clear();
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            ++pos;
            lastIdeograph = 0;
            if ((byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || byte == '_')
                word.push_back(static_cast<char>(byte));
            else if (byte >= 'A' && byte <= 'Z')
                word.push_back(static_cast<char>(byte + ('a' - 'A')));
            else
                endWord();
            continue;
        }
        const char32_t c = decodeAt(text, pos);
        switch (kindOf(c)) {
        case Kind::Letter:
            lastIdeograph = 0;
            append(word, lowered(c));
            break;
        case Kind::Ideograph:
            endWord();
            if (lastIdeograph != 0) {
                pair.clear();
                append(pair, lastIdeograph);
                append(pair, c);
                sink(std::string_view(pair), position - 1);
            }
            word.clear();
            append(word, c);
            endWord();
            lastIdeograph = c;
            break;
        case Kind::Separator:
            lastIdeograph = 0;
            endWord();
            break;
        }
    }
    endWord();
    return position;
}

} // namespace folvane::chm
