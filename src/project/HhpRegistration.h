#pragma once

#include "util/PathStyle.h"

namespace folvane {

class Host;

// What the menu item "hhp文件右键编译" registers: the shell verb in the registry for Windows,
// the desktop's MIME type and default application elsewhere.
class HhpRegistration {
public:
    HhpRegistration(Host& host, PathStyle style);

    // The check mark at start: on Windows off whatever the registry holds, elsewhere
    // whether the command is registered.
    bool checkedAtStart() const;
    // Registers or removes the command; returns the new check mark. The registry is not
    // read back, so there it is the state asked for.
    bool apply(bool checked);

private:
    Host& host_;
    PathStyle style_;
};

} // namespace folvane
