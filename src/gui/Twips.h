#pragma once

#include "gui/Named.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace folvane {

// Window layouts are given in twips: 15 twips are one pixel at 96 dpi (Qt scales beyond).
inline constexpr int kTwipsPerPixel = 15;

inline int pixelsFromTwips(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
inline QPoint pixelsFromTwips(QPoint p) {
    return {pixelsFromTwips(p.x()), pixelsFromTwips(p.y())};
}
inline QSize pixelsFromTwips(QSize s) {
    return {pixelsFromTwips(s.width()), pixelsFromTwips(s.height())};
}
inline QRect rectFromTwips(int left, int top, int width, int height) {
    return {pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width), pixelsFromTwips(height)};
}
inline QSize twipsFromPixels(QSize s) {
    return {s.width() * kTwipsPerPixel, s.height() * kTwipsPerPixel};
}

// A new control named as its form knows it, at its designed place.
template <typename W, typename Name> W* place(W* widget, const Name& name, int left, int top, int width, int height) {
    named(widget, name)->setGeometry(rectFromTwips(left, top, width, height));
    return widget;
}

} // namespace folvane
