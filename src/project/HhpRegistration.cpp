#include "project/HhpRegistration.h"

#include "host/Host.h"
#include "project/CompilerCommand.h"
#include "project/DesktopRegistration.h"
#include "project/ShellRegistration.h"

namespace folvane {

HhpRegistration::HhpRegistration(Host& host, PathStyle style) : host_(host), style_(style) {}

bool HhpRegistration::checkedAtStart() const {
    if (style_ == PathStyle::Windows)
        return false;
    return DesktopRegistration(host_, DesktopRegistration::userFolders()).isRegistered();
}

bool HhpRegistration::apply(bool checked) {
    if (style_ == PathStyle::Windows) {
        ShellRegistration(host_.registry(), style_).applyHhpRegistration(checked, host_.programFolder());
        return checked;
    }
    DesktopRegistration desktop(host_, DesktopRegistration::userFolders());
    if (!checked)
        return desktop.unregister(ShellRegistration::compileVerb());
    return desktop.registerCompiler(CompilerCommand(host_.programFolder(), style_).program(),
                                    ShellRegistration::compileVerb());
}

} // namespace folvane
