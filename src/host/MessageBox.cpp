#include "host/MessageBox.h"

#include <array>

namespace folvane {

namespace {
struct ButtonSet {
    int count;
    std::array<int, 3> results;
};

ButtonSet buttonSet(MsgButtons buttons) {
    using namespace MsgResult;
    switch (buttons) {
    case MsgButtons::OkOnly:
        return {1, {Ok, 0, 0}};
    case MsgButtons::OkCancel:
        return {2, {Ok, Cancel, 0}};
    case MsgButtons::AbortRetryIgnore:
        return {3, {Abort, Retry, Ignore}};
    case MsgButtons::YesNoCancel:
        return {3, {Yes, No, Cancel}};
    case MsgButtons::YesNo:
        return {2, {Yes, No, 0}};
    case MsgButtons::RetryCancel:
        return {2, {Retry, Cancel, 0}};
    }
    return {1, {Ok, 0, 0}};
}
} // namespace

int msgButtonCount(MsgButtons buttons) {
    return buttonSet(buttons).count;
}

int msgButtonResult(MsgButtons buttons, int index) {
    const ButtonSet set = buttonSet(buttons);
    if (index < 0 || index >= set.count)
        index = 0;
    return set.results[static_cast<std::size_t>(index)];
}

} // namespace folvane
