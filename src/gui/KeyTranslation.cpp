#include "gui/KeyTranslation.h"

#include "host/KeyCodes.h"

#include <QKeyEvent>

namespace folvane {

int formKeyCode(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Delete:
        return KeyCode::Delete;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return KeyCode::Tab;
    case Qt::Key_Escape:
        return KeyCode::Escape;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCode::Enter;
    case Qt::Key_Up:
        return KeyCode::Up;
    case Qt::Key_Down:
        return KeyCode::Down;
    case Qt::Key_F2:
        return KeyCode::F2;
    default:
        break;
    }
    // Letters and digits keep their ASCII codes. Other keys are never handled, and must not
    // pass as one that is: Qt's "." has the Delete key's code.
    const int key = event->key();
    const bool letterOrDigit = (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
    return letterOrDigit ? key : 0;
}

int formShiftMask(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? ShiftMask::Shift : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? ShiftMask::Ctrl : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? ShiftMask::Alt : 0);
}

int formButtonMask(Qt::MouseButtons buttons) {
    return (buttons.testFlag(Qt::LeftButton) ? MouseButton::Left : 0) |
           (buttons.testFlag(Qt::RightButton) ? MouseButton::Right : 0) |
           (buttons.testFlag(Qt::MiddleButton) ? MouseButton::Middle : 0);
}

} // namespace folvane
