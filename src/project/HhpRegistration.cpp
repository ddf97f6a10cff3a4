#include "project/HhpRegistration.h"

#include "host/Host.h"
#include "project/DesktopRegistration.h"
#include "project/ShellRegistration.h"
#include "util/PathJoin.h"

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
    const QString compiler = joinPath(host_.programFolder(), QStringLiteral("hhc"), style_);
    return desktop.registerCompiler(compiler, ShellRegistration::compileVerb());
}

} // namespace folvane
