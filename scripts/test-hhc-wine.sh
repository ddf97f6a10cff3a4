#!/bin/sh
# Builds the help compiler and hhc.exe with mingw-w64 and runs them under Wine: the code
# page conversions' test, then a compile of a small Chinese site, which must exit 1 (the
# Windows compiler's success) and write a help file. Needs the Debian packages
# g++-mingw-w64-x86-64-posix and wine64. Not part of CI.
set -eu
. "$(dirname "$0")/wine-common.sh"

chm="$root/src/chm"
sources=$(find "$chm" -name '*.cpp' ! -name '*_posix.cpp')
echo "== build with $cxx"
# shellcheck disable=SC2086
"$cxx" $flags -O1 -static -o "$work/codepage_test.exe" "$root/tests/wine/codepage_test.cpp" \
    "$chm/text/CodePage_win.cpp" "$chm/text/TextDecoding.cpp" "$chm/text/Utf8.cpp" "$chm/text/Utf16.cpp" \
    "$chm/text/UnmappableText.cpp" "$chm/platform/SystemLocale_win.cpp"
# shellcheck disable=SC2086
"$cxx" $flags -I"$root/tools" -O2 -static -o "$work/hhc.exe" $sources "$root/tools/hhc/main.cpp" \
    "$root/tools/hhc/ConsoleListener.cpp" "$root/tools/hhc/HhcCommand.cpp" "$root/tools/hhc/ConsoleText_win.cpp"

status=0
echo "== code pages"
LC_ALL=zh_CN.UTF-8 wine "$work/codepage_test.exe" || status=1

echo "== hhc.exe"
site="$work/网站"
mkdir -p "$site/子目录"
printf '<html><head><title>首页</title></head><body>首页</body></html>' > "$site/index.htm"
printf '<p>第一章</p>' > "$site/子目录/第一章.htm"
printf '[OPTIONS]\r\nCompiled file="帮助.chm"\r\nTitle=帮助\r\nDefault topic=index.htm\r\n[FILES]\r\nindex.htm\r\n子目录\\第一章.htm\r\n' \
    > "$site/HH_KVEL.hhp"
set +e
(cd "$site" && wine "$work/hhc.exe" HH_KVEL.hhp)
result=$?
set -e
if [ "$result" -ne 1 ] || [ "$(head -c 4 "$site/帮助.chm" 2>/dev/null)" != "ITSF" ]; then
    echo "hhc.exe failed (exit $result)" >&2
    status=1
fi
# Let this prefix's server finish before its folder is removed.
wineserver -w || true
exit $status
