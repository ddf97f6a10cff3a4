#!/bin/sh
# Builds the help compiler's Windows code page conversions with mingw-w64 and runs their
# test under Wine. Needs the Debian packages g++-mingw-w64-x86-64-posix and wine64. Not
# part of CI.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
cxx=${CXX_MINGW:-x86_64-w64-mingw32-g++-posix}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in "$cxx" wine; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done

chm="$root/src/chm"
echo "== build with $cxx"
"$cxx" -std=c++20 -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Werror -I"$root/src" -O1 -static \
    -o "$work/codepage_test.exe" "$root/tests/wine/codepage_test.cpp" "$chm/text/CodePage_win.cpp" \
    "$chm/text/TextDecoding.cpp" "$chm/text/Utf8.cpp" "$chm/text/Utf16.cpp" "$chm/text/UnmappableText.cpp" \
    "$chm/platform/SystemLocale_win.cpp"

export WINEPREFIX="$work/prefix" WINEDEBUG=-all
status=0
LC_ALL=zh_CN.UTF-8 wine "$work/codepage_test.exe" || status=1
# Let this prefix's server finish before its folder is removed.
wineserver -w || true
exit $status
