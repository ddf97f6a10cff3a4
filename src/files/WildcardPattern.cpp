#include "files/WildcardPattern.h"

#include "util/RuntimeError.h"

namespace folvane {

namespace {
[[noreturn]] void throwInvalid(QStringView element) {
    throw RuntimeError(RuntimeError::PatternInvalid, QStringLiteral("无效的模式字符串\n") + element.toString());
}
} // namespace

WildcardPattern::WildcardPattern(QStringView element) {
    tokens_.reserve(static_cast<size_t>(element.size()));
    for (qsizetype i = 0; i < element.size(); ++i) {
        const char16_t c = element[i].unicode();
        switch (c) {
        case u'?':
            tokens_.push_back({Kind::AnyChar});
            break;
        case u'*':
            // A run of stars means the same as one.
            if (tokens_.empty() || tokens_.back().kind != Kind::Star)
                tokens_.push_back({Kind::Star});
            break;
        case u'#':
            tokens_.push_back({Kind::Digit});
            break;
        case u'[':
            i = parseSet(element, i);
            break;
        default:
            tokens_.push_back({Kind::Literal, c});
        }
    }
}

// Parses the list that starts at element[open] == '['; returns the position of its ']'.
qsizetype WildcardPattern::parseSet(QStringView element, qsizetype open) {
    CharSet set;
    qsizetype i = open + 1;
    if (i < element.size() && element[i] == u'!') {
        set.negated = true;
        ++i;
    }
    while (i < element.size() && element[i] != u']') {
        const char16_t low = element[i].unicode();
        // "-" first, last or right after a range stands for itself.
        if (i + 2 < element.size() && element[i + 1] == u'-' && element[i + 2] != u']') {
            const char16_t high = element[i + 2].unicode();
            if (high < low)
                throwInvalid(element);
            set.ranges.push_back({low, high});
            i += 3;
        } else {
            set.ranges.push_back({low, low});
            ++i;
        }
    }
    if (i >= element.size())
        throwInvalid(element);
    sets_.push_back(std::move(set));
    tokens_.push_back({Kind::Set, 0, static_cast<int>(sets_.size() - 1)});
    return i;
}

bool WildcardPattern::matchesOne(const Token& token, char16_t c) const {
    switch (token.kind) {
    case Kind::Literal:
        return token.ch == c;
    case Kind::AnyChar:
        return true;
    case Kind::Digit:
        return c >= u'0' && c <= u'9';
    case Kind::Set: {
        const CharSet& set = sets_[static_cast<size_t>(token.set)];
        bool inList = false;
        for (const Range& r : set.ranges) {
            if (c >= r.low && c <= r.high) {
                inList = true;
                break;
            }
        }
        return inList != set.negated;
    }
    case Kind::Star:
        break;
    }
    return false;
}

// Every token but "*" takes exactly one character, so remembering only the last star and
// letting it swallow one more character on a mismatch finds a match when there is one,
// in at most text length × pattern length steps.
bool WildcardPattern::matches(QStringView text) const {
    const size_t tokenCount = tokens_.size();
    const qsizetype length = text.size();
    size_t p = 0;
    qsizetype t = 0;
    size_t afterStar = 0;
    qsizetype starText = -1;
    while (t < length) {
        if (p < tokenCount && tokens_[p].kind == Kind::Star) {
            afterStar = ++p;
            starText = t;
        } else if (p < tokenCount && matchesOne(tokens_[p], text[t].unicode())) {
            ++p;
            ++t;
        } else if (starText >= 0) {
            p = afterStar;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < tokenCount && tokens_[p].kind == Kind::Star)
        ++p;
    return p == tokenCount;
}

} // namespace folvane
