#!/bin/sh
# Builds the Windows registry calls with mingw-w64 and runs their test under Wine, once
# with the Chinese ANSI code page (936) and once with a Western one (1252). Needs the
# Debian packages g++-mingw-w64-x86-64-posix, wine64 and the zh_CN.UTF-8 and en_US.UTF-8
# locales (package locales, then locale-gen). Not part of CI.
set -eu
. "$(dirname "$0")/wine-common.sh"

echo "== build with $cxx"
# shellcheck disable=SC2086
"$cxx" $flags -O1 -static -o "$work/winreg_test.exe" \
    "$root/tests/wine/winreg_test.cpp" "$root/src/registry/WinRegistryCalls_win.cpp" -ladvapi32

# The Qt wrapper cannot be linked without a Windows Qt, but its code must at least compile.
if pkg-config --exists Qt6Core 2>/dev/null; then
    echo "== syntax check of the Qt wrapper"
    # shellcheck disable=SC2086
    g++ $flags -fPIC -DQT_NO_CAST_FROM_ASCII -fsyntax-only $(pkg-config --cflags Qt6Core) \
        "$root/src/registry/WinRegistryBackend_win.cpp"
fi

status=0
for locale in zh_CN.UTF-8 en_US.UTF-8; do
    echo "== wine, LC_ALL=$locale"
    LC_ALL=$locale wine "$work/winreg_test.exe" || status=1
done
# Let this prefix's server finish before its folder is removed.
wineserver -w || true
exit $status
