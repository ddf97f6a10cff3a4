#include "util/KeyState.h"

#include "host/Host.h"

namespace folvane {

bool IsKeyDown(Host& host, int virtualKey) {
    return host.isKeyDown(virtualKey);
}

} // namespace folvane
