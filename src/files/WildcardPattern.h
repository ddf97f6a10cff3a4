#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace folvane {

// One wildcard element, parsed once and matched against many texts:
// "?" one character, "*" any run, "#" one digit, "[list]" / "[!list]" with ranges such as a-z.
// Characters compare by code, so letter case counts; callers that ignore case lower both sides.
class WildcardPattern {
public:
    // Throws RuntimeError(PatternInvalid) for an unclosed "[" or a range whose ends are reversed.
    explicit WildcardPattern(QStringView element);

    // True when the whole text matches, from its first to its last character.
    bool matches(QStringView text) const;

private:
    enum class Kind : unsigned char { Literal, AnyChar, Digit, Star, Set };
    struct Token {
        Kind kind;
        char16_t ch = 0; // the literal
        int set = -1;    // index into sets_
    };
    struct Range {
        char16_t low;
        char16_t high;
    };
    struct CharSet {
        bool negated = false;
        std::vector<Range> ranges;
    };

    qsizetype parseSet(QStringView element, qsizetype open);
    bool matchesOne(const Token& token, char16_t c) const;

    std::vector<Token> tokens_;
    std::vector<CharSet> sets_;
};

} // namespace folvane
