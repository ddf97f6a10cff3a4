#include "util/KeyState.h"

#include "app/Host.h"

namespace folvane {

bool IsKeyDown(Host& host, int virtualKey) {
    return host.isKeyDown(virtualKey);
}

} // namespace folvane
