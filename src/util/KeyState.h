#pragma once

namespace folvane {

class Host;

// Virtual-key code of the Ctrl key.
inline constexpr int kVkControl = 17;

// Whether the key is held down at this moment.
bool IsKeyDown(Host& host, int virtualKey);

} // namespace folvane
