#include "files/PatternList.h"

namespace folvane {

PatternList::PatternList(const QString& patterns) : PatternList(patterns.split(u';')) {}

PatternList::PatternList(const QStringList& elements) {
    elements_.reserve(static_cast<size_t>(elements.size()));
    for (const QString& element : elements) {
        if (element.isEmpty())
            continue;
        Element parsed;
        try {
            parsed.pattern.emplace(element.toLower());
        } catch (const RuntimeError& e) {
            parsed.error = e;
        }
        elements_.push_back(std::move(parsed));
    }
}

bool PatternList::matches(const QString& name) const {
    const QString lower = name.toLower();
    for (const Element& element : elements_) {
        if (element.error)
            throw *element.error;
        if (element.pattern->matches(lower))
            return true;
    }
    return false;
}

} // namespace folvane
