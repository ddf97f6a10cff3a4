// Wildcard matching against a plain dynamic-programming matcher: the real one backtracks
// only to the last "*", and this checks that it never answers differently.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "files/PatternMatch.h"
#include "files/WildcardPattern.h"
#include "util/RuntimeError.h"

#include <optional>
#include <vector>

using namespace folvane;

namespace {

struct Item {
    enum Kind { Literal, Any, Digit, Star, Set } kind = Literal;
    char16_t ch = 0;
    bool negated = false;
    std::vector<std::pair<char16_t, char16_t>> ranges;

    static Item of(Kind kind, char16_t ch = 0) {
        Item item;
        item.kind = kind;
        item.ch = ch;
        return item;
    }

    bool accepts(char16_t c) const {
        switch (kind) {
        case Literal:
            return c == ch;
        case Any:
            return true;
        case Digit:
            return c >= u'0' && c <= u'9';
        case Set: {
            bool in = false;
            for (const auto& [low, high] : ranges)
                in = in || (c >= low && c <= high);
            return in != negated;
        }
        case Star:
            break;
        }
        return false;
    }
};

// Nothing when the element is invalid: an unclosed "[" or a reversed range.
std::optional<std::vector<Item>> parse(const QString& element) {
    std::vector<Item> items;
    for (qsizetype i = 0; i < element.size(); ++i) {
        const char16_t c = element[i].unicode();
        if (c == u'?')
            items.push_back(Item::of(Item::Any));
        else if (c == u'*')
            items.push_back(Item::of(Item::Star));
        else if (c == u'#')
            items.push_back(Item::of(Item::Digit));
        else if (c != u'[')
            items.push_back(Item::of(Item::Literal, c));
        else {
            Item set = Item::of(Item::Set);
            qsizetype j = i + 1;
            if (j < element.size() && element[j] == u'!') {
                set.negated = true;
                ++j;
            }
            for (; j < element.size() && element[j] != u']'; ++j) {
                const char16_t low = element[j].unicode();
                if (j + 2 < element.size() && element[j + 1] == u'-' && element[j + 2] != u']') {
                    if (element[j + 2].unicode() < low)
                        return std::nullopt;
                    set.ranges.emplace_back(low, element[j + 2].unicode());
                    j += 2;
                } else {
                    set.ranges.emplace_back(low, low);
                }
            }
            if (j >= element.size())
                return std::nullopt;
            items.push_back(std::move(set));
            i = j;
        }
    }
    return items;
}

// can[p][t]: items from p on match the text from t on.
bool referenceMatch(const std::vector<Item>& items, const QString& text) {
    const size_t n = items.size();
    const auto m = static_cast<size_t>(text.size());
    std::vector<std::vector<char>> can(n + 1, std::vector<char>(m + 1, 0));
    can[n][m] = 1;
    for (size_t p = n; p-- > 0;) {
        for (size_t t = m + 1; t-- > 0;) {
            if (items[p].kind == Item::Star)
                can[p][t] = can[p + 1][t] || (t < m && can[p][t + 1]);
            else
                can[p][t] = t < m && items[p].accepts(text[static_cast<qsizetype>(t)].unicode()) && can[p + 1][t + 1];
        }
    }
    return can[0][0];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const QString name = input.text();
    const QString patterns = input.text();
    if (name.size() > 256 || patterns.size() > 256)
        return 0;

    // The list answers as its elements do, in order, stopping at the first invalid one.
    bool expectMatch = false;
    bool expectInvalid = false;
    const QString lowerName = name.toLower();
    for (const QString& element : patterns.split(u';')) {
        if (element.isEmpty())
            continue;
        const auto items = parse(element.toLower());
        expectInvalid = !items;
        expectMatch = items && referenceMatch(*items, lowerName);
        if (expectInvalid || expectMatch)
            break;
    }
    bool threw = false;
    bool answer = false;
    try {
        answer = MatchesPattern(name, patterns);
    } catch (const RuntimeError& e) {
        FUZZ_CHECK(e.number() == RuntimeError::PatternInvalid);
        threw = true;
    }
    FUZZ_CHECK(threw == expectInvalid);
    FUZZ_CHECK(threw || answer == expectMatch);

    // One element on its own, case counting.
    const auto items = parse(patterns);
    try {
        const bool single = matchesWildcard(name, patterns);
        FUZZ_CHECK(items && single == referenceMatch(*items, name));
    } catch (const RuntimeError&) {
        FUZZ_CHECK(!items);
    }
    return 0;
}
