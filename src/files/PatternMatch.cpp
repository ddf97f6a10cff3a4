#include "files/PatternMatch.h"

#include "files/PatternList.h"
#include "files/WildcardPattern.h"

namespace folvane {

bool MatchesPattern(const QString& name, const QString& patterns) {
    return PatternList(patterns).matches(name);
}

bool MatchesPattern(const QString& name, const QStringList& elements) {
    return PatternList(elements).matches(name);
}

bool matchesWildcard(const QString& text, const QString& element) {
    return WildcardPattern(element).matches(text);
}

} // namespace folvane
