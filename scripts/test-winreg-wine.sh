#!/bin/sh
# Builds the Windows registry calls with mingw-w64 and runs their test under Wine, once
# with the Chinese ANSI code page (936) and once with a Western one (1252). Needs the
# Debian packages g++-mingw-w64-x86-64-posix, wine64 and the zh_CN.UTF-8 and en_US.UTF-8
# locales (package locales, then locale-gen). Not part of CI.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
cxx=${CXX_MINGW:-x86_64-w64-mingw32-g++-posix}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in "$cxx" wine; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done

flags="-std=c++20 -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Werror -I$root/src"
echo "== build with $cxx"
# shellcheck disable=SC2086
"$cxx" $flags -O1 -static -o "$work/winreg_test.exe" \
    "$root/tests/wine/winreg_test.cpp" "$root/src/platform/WinRegistryCalls_win.cpp" -ladvapi32

# The Qt wrapper cannot be linked without a Windows Qt, but its code must at least compile.
if pkg-config --exists Qt6Core 2>/dev/null; then
    echo "== syntax check of the Qt wrapper"
    # shellcheck disable=SC2086
    g++ $flags -fPIC -DQT_NO_CAST_FROM_ASCII -fsyntax-only $(pkg-config --cflags Qt6Core) \
        "$root/src/platform/WinRegistryBackend_win.cpp"
fi

export WINEPREFIX="$work/prefix" WINEDEBUG=-all
status=0
for locale in zh_CN.UTF-8 en_US.UTF-8; do
    echo "== wine, LC_ALL=$locale"
    LC_ALL=$locale wine "$work/winreg_test.exe" || status=1
done
# Let this prefix's server finish before its folder is removed.
wineserver -w || true
exit $status
