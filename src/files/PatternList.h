#pragma once

#include "files/WildcardPattern.h"
#include "util/RuntimeError.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace folvane {

// A ";"-separated list of wildcard elements, lower-cased and parsed once so that a scan can
// test many names against it. Empty elements are dropped; an invalid element is kept as
// the error it raises when a name reaches it.
class PatternList {
public:
    explicit PatternList(const QString& patterns);
    explicit PatternList(const QStringList& elements);

    // True when the lower-cased name matches an element; the elements are tried in order and
    // the first match decides. Throws the element's RuntimeError when an invalid one is reached.
    bool matches(const QString& name) const;

private:
    struct Element {
        std::optional<WildcardPattern> pattern;
        std::optional<RuntimeError> error;
    };

    std::vector<Element> elements_;
};

} // namespace folvane
