#pragma once

#include <QString>

namespace folvane {

// A new widget with the name of its control, by which tests and the form find it.
template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}
template <typename W> W* named(W* widget, const char* name) {
    return named(widget, QString::fromLatin1(name));
}

} // namespace folvane
