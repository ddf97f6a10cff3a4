#pragma once

#include <QString>
#include <QStringList>

namespace folvane {

// True when name matches one element of a ";"-separated pattern list, ignoring letter case
// (both sides are lower-cased). Empty elements are ignored. Throws RuntimeError(PatternInvalid)
// when an invalid element (unclosed "[", reversed range) is reached before a match.
bool MatchesPattern(const QString& name, const QString& patterns);
// The same with the list already split into elements.
bool MatchesPattern(const QString& name, const QStringList& elements);

// Whole-text match of one element with letter case counting. Throws like MatchesPattern.
bool matchesWildcard(const QString& text, const QString& element);

} // namespace folvane
