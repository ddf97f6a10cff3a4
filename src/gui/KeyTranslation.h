#pragma once

#include <Qt>

class QKeyEvent;

namespace folvane {

// Qt's keys, modifiers and buttons in the forms' terms (app/KeyCodes.h).
int formKeyCode(const QKeyEvent* event);
int formShiftMask(Qt::KeyboardModifiers modifiers);
int formButtonMask(Qt::MouseButtons buttons);

} // namespace folvane
