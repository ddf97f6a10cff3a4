#!/bin/sh
# Every Windows check that runs on Linux: builds the Windows code with mingw-w64 (the code
# page conversions, the registry calls, the folder listing and file read, and hhc.exe,
# statically linked) and runs it under Wine, once with the Chinese ANSI code page (936) and
# once with a Western one (1252). hhc.exe compiles a Chinese site through a drive path, a
# UNC path and a path past 260 characters; chinese_help.py reads each help file back with
# chmlib, 7-Zip and pychm's search, and context_help.exe opens one at a context ID through
# Wine's help control. Needs g++-mingw-w64-x86-64-posix, wine, wine64,
# cmake, p7zip-full, python3-chm, and the zh_CN.UTF-8 and en_US.UTF-8 locales or the package
# locales to make them for the run. Exit status 77: tools missing.
# With FOLVANE_VIEWER_SHOT=file.png (and xvfb, imagemagick) Wine's own viewer opens the
# Chinese help file and the screen is saved there, to look at its contents tree.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cxx=${CXX_MINGW:-x86_64-w64-mingw32-g++-posix}
flags="-std=c++20 -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Wshadow -Wcast-qual
    -Woverloaded-virtual -Werror -I$root/src -I$root/tools"
python=/usr/bin/python3
for tool in "$cxx" wine 7z "$python"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 77; }
done
started=$(date +%s)
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Wine takes its code pages from the Unix locale; one the system lacks is made for this run.
if [ "$(locale -a | grep -c -i -E '^(zh_CN|en_US)\.utf-?8$')" -lt 2 ]; then
    mkdir -p "$work/locale"
    for name in zh_CN en_US; do
        localedef -i $name -f UTF-8 "$work/locale/$name.UTF-8" ||
            { echo "missing: locale $name.UTF-8 (package locales)" >&2; exit 77; }
    done
    export LOCPATH="$work/locale"
fi

echo "== build with $cxx"
# The compiler and hhc.exe build from the project's own Windows source lists.
cmake -S "$root" -B "$work/cmake" -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_CXX_COMPILER="$cxx" -DFOLVANE_COMPILER_ONLY=ON \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-Werror >"$work/cmake.log" || { cat "$work/cmake.log" >&2; exit 1; }
cmake --build "$work/cmake" -j "$(nproc)" >"$work/build.log" || { cat "$work/build.log" >&2; exit 1; }
cp "$work/cmake/bin/hhc.exe" "$work/hhc.exe"
base="$work/cmake/src/base/libfolvane_base.a"
library="$work/cmake/src/chm/libfolvane_chm.a $work/cmake/src/formats/libfolvane_formats.a $base"
# shellcheck disable=SC2086
for test in codepage_test:"$library" winreg_test:"$root/src/registry/WinRegistryCalls_win.cpp -ladvapi32" \
    winfs_test:"$root/src/platform/WinFileSystemCalls_win.cpp $base" context_help:"-municode -lhtmlhelp"; do
    "$cxx" $flags -O2 -static -o "$work/${test%%:*}.exe" "$root/tests/wine/${test%%:*}.cpp" ${test#*:}
done

# Without a Windows Qt the program's Windows files cannot be linked here, but they must compile:
# the cross compiler checks them against the Linux Qt headers (scripts/build-windows.sh links them).
if pkg-config --exists Qt6Widgets 2>/dev/null; then
    echo "== syntax check of the program's Windows files"
    for file in "$root"/src/*/*_win.cpp; do
        # shellcheck disable=SC2086,SC2046
        "$cxx" $flags -DQT_NO_CAST_FROM_ASCII -fsyntax-only $(pkg-config --cflags Qt6Widgets | sed 's/-I/-isystem /g') "$file"
    done
fi

echo "== built in $(($(date +%s) - started)) s"
status=0
fail() {
    echo "FAIL $*" >&2
    status=1
}

# Wine reaches \\localhost\share through this link.
wine wineboot -i >/dev/null 2>&1 || true
mkdir -p "$WINEPREFIX/dosdevices/unc/localhost"
ln -s "$work" "$WINEPREFIX/dosdevices/unc/localhost/share"

# Compiles the site in folder $2 (Windows name $3) under locale $1; $4: the project's
# encoding, $5: its Language line, $6: the language the help file must have, $7: a text the
# output must hold in the console's code page ($8).
compile() {
    printf -- '-- hhc.exe %s\n' "$3"
    "$python" "$root/tests/wine/chinese_help.py" make "$2" "$3" "$4" "$5"
    set +e
    (cd "$work" && LC_ALL=$1 wine "$work/hhc.exe" "$3\\HH_KVEL.hhp" >"$work/output.txt")
    result=$?
    set -e
    iconv -f "$8" -t UTF-8 "$work/output.txt" >"$work/output-utf8.txt" || fail "hhc.exe output is not in $8"
    cat "$work/output-utf8.txt"
    [ "$result" -eq 1 ] || fail "hhc.exe exit status $result, expected 1"
    grep -q "$7" "$work/output-utf8.txt" || fail "hhc.exe output lacks $7"
    "$python" "$root/tests/wine/chinese_help.py" check "$2" "$6" || fail "help file of $3"
}

# Wine's display driver, chosen when its server starts: "null" opens windows without a display.
display_driver() {
    if [ "$1" = null ]; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    else
        wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1
    fi
    wineserver -k 2>/dev/null || true
    wineserver -w || true
}

# An application's F1 help: the help control finds the page of a context ID through #IVB, which
# its trace names.
context_help() {
    printf -- '-- context_help.exe %s\n' "$2"
    display_driver null
    trace=$(LC_ALL=$1 WINEDEBUG=-all,trace+htmlhelp wine "$work/context_help.exe" "$2" 1001 2>&1) ||
        fail "context ID 1001 opened no help window"
    echo "$trace" | grep -E "FindContextAlias|navigate_url" || true
    echo "$trace" | grep -q 'navigate_url L"mk:@MSITStore:.*::/index.htm"' || fail "context ID 1001 did not open index.htm"
    ! LC_ALL=$1 wine "$work/context_help.exe" "$2" 4242 >/dev/null 2>&1 || fail "context ID 4242 opened a window"
    display_driver default
}

# Without wine-gecko the page pane stays empty (mshtml is turned off above, so no window
# asks to download it); the contents tree is the viewer's own.
viewer() {
    echo "-- wine hh.exe, screen saved as $2"
    # A new server, so that Wine's desktop process starts on this display.
    wineserver -k 2>/dev/null || true
    LC_ALL=zh_CN.UTF-8 xvfb-run -a -s "-screen 0 1280x900x24" sh -c \
        'wine hh.exe "$0" & sleep 15; import -window root "$1"; wineserver -k' "Z:$(echo "$1" | tr / '\\')" "$2" || true
    [ -s "$2" ] || fail "no screen of the viewer"
}

for locale in zh_CN.UTF-8 en_US.UTF-8; do
    echo "== wine, LC_ALL=$locale"
    for test in codepage_test winreg_test; do
        LC_ALL=$locale wine "$work/$test.exe" || fail "$test.exe"
    done
    # A symbolic link stands in for the junction Wine 8 cannot make.
    rm -rf "$work/fs测试" && mkdir -p "$work/fs测试/子目录" && ln -s .. "$work/fs测试/子目录/loop"
    (cd "$work" && LC_ALL=$locale wine "$work/winfs_test.exe") || fail "winfs_test.exe"
    site="$work/$locale/网站"
    if [ "$locale" = zh_CN.UTF-8 ]; then
        # A GBK project naming no language: the ANSI code page reads it, the user's language marks it.
        compile "$locale" "$site" "Z:$(echo "$site" | tr / '\\')" gbk "" 0x804 "编译完成" GBK
        context_help "$locale" "Z:$(echo "$site" | tr / '\\')\\帮助.chm"
        [ -z "${FOLVANE_VIEWER_SHOT:-}" ] || viewer "$site/帮助.chm" "$FOLVANE_VIEWER_SHOT"
        long="$work/$locale"
        for part in 1 2 3 4 5 6; do long="$long/$(printf "长路径$part%.0s" 1 2 3 4 5 6 7 8 9 10)"; done
        compile "$locale" "$long/网站" "Z:$(echo "$long/网站" | tr / '\\')" gbk "" 0x804 "编译完成" GBK
    else
        compile "$locale" "$site" "\\\\localhost\\share\\$locale\\网站" utf-8 "0x804 Chinese (PRC)" 0x804 "0x804" CP1252
        compile "$locale" "$work/$locale/default/网站" "//localhost/share/$locale/default/网站" utf-8 "" 0x409 "0x409" CP1252
    fi
    set +e
    LC_ALL=$locale wine "$work/hhc.exe" 'Z:\nowhere\missing.hhp' >/dev/null
    [ $? -eq 0 ] || fail "hhc.exe on a missing project must exit 0"
    set -e
done
# Let this prefix's server finish before its folder is removed.
wineserver -w || true
echo "== $(($(date +%s) - started)) s, $([ $status -eq 0 ] && echo passed || echo FAILED)"
exit $status
