#!/usr/bin/env bash
# Tests under Wine what scripts/build-windows.sh built: the installer installs silently; the
# installed folvane-make.exe walks the whole road on a Chinese site in a Chinese and in an
# English locale, and chmlib and 7-Zip read every page of the help file back unchanged, in the
# right language; the installed folvane.exe starts under Xvfb, its windows are saved as
# screenshots, and its right-click command for .hhp files is written, removed and written
# again in Wine's registry; the silent uninstall removes it, puts the previous command back and
# leaves no file and no key of its own.
#
#   scripts/test-windows-program.sh [--out DIR] [--shots DIR] [--if-cached]
#
# --out DIR     where build-windows.sh put the programs (default: build-windows in the checkout)
# --shots DIR   where the screenshots go (default: DIR/screenshots)
# --if-cached   first run build-windows.sh --only-if-cached; without a cached Qt say that the
#               Windows program was skipped and succeed (the test command runs it this way)
# Needs wine, wine64, xvfb, xdotool, imagemagick, p7zip-full, python3-chm, nsis, and the
# zh_CN.UTF-8 and en_US.UTF-8 locales or the package locales to make them for the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-windows
shots=
if_cached=0
while [ $# -gt 0 ]; do
    case $1 in
    --out)
        out=$2
        shift
        ;;
    --shots)
        shots=$2
        shift
        ;;
    --if-cached) if_cached=1 ;;
    *)
        echo "usage: $0 [--out DIR] [--shots DIR] [--if-cached]" >&2
        exit 2
        ;;
    esac
    shift
done
if [ $if_cached -eq 1 ]; then
    status=0
    bash "$root/scripts/build-windows.sh" --only-if-cached --out "$out" || status=$?
    [ $status -ne 77 ] || exit 0
    [ $status -eq 0 ] || exit $status
fi
out=$(cd "$out" && pwd)
shots=${shots:-$out/screenshots}
python=/usr/bin/python3
version=$(sed -n 's/^project(Folvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
setup=$out/folvane-$version-setup.exe
for tool in wine xvfb-run xdotool import 7z "$python"; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
[ -f "$setup" ] || { echo "missing: $setup (scripts/build-windows.sh makes it)" >&2; exit 1; }

started=$(date +%s)
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$shots"

# Wine takes its code pages from the Unix locale; one the system lacks is made for this run.
if [ "$(locale -a | grep -c -i -E '^(zh_CN|en_US)\.utf-?8$')" -lt 2 ]; then
    mkdir -p "$work/locale"
    for name in zh_CN en_US; do
        localedef -i $name -f UTF-8 "$work/locale/$name.UTF-8" ||
            { echo "missing: locale $name.UTF-8 (package locales)" >&2; exit 1; }
    done
    export LOCPATH="$work/locale"
fi

status=0
fail() {
    echo "FAIL $*" >&2
    status=1
}

windows_path() {
    echo "Z:$1" | tr / '\\'
}

# Wine's registry as text: `wine reg` writes in the console's code page.
reg_query() {
    LC_ALL=zh_CN.UTF-8 wine reg query "$@" 2>/dev/null | iconv -f GBK -t UTF-8 | tr -d '\r'
}

program_folder="$WINEPREFIX/drive_c/Program Files/Folvane"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Folvane CHM 制作.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Folvane'

echo "== wine $(wine --version), prefix"
wine wineboot -i >/dev/null 2>&1 || true

echo "== silent install: $(basename "$setup")"
LC_ALL=zh_CN.UTF-8 wine "$setup" /S
wineserver -w
for file in folvane.exe folvane-make.exe hhc.exe README.txt uninstall.exe licenses/Qt/LGPL-3.0-only.txt; do
    [ -f "$program_folder/$file" ] || fail "installed: $file missing"
done
[ -f "$shortcut" ] || fail "no Start menu entry"
reg_query "$uninstall_key" | grep -q 'DisplayName.*Folvane CHM 制作' || fail "not in the installed programs"

# The whole road in folvane-make.exe: scan, navigation builder, settings, save, compile.
road() {
    local locale=$1 lcid=$2 encoding=$3 site=$work/$1/网站 hhc titles
    echo "-- folvane-make.exe, LC_ALL=$locale"
    "$python" "$root/tests/wine/chinese_help.py" make "$site" "$(windows_path "$site")" utf-8
    rm "$site/HH_KVEL.hhp" "$site/HH_KVEL.hhc"
    (cd "$work" && LC_ALL=$locale wine "$program_folder/folvane-make.exe" "$(windows_path "$site")" -t 帮助测试 \
        -o "$(windows_path "$site/帮助.chm")" --titles between --home index.htm) || fail "folvane-make.exe, $locale"
    "$python" "$root/tests/wine/chinese_help.py" check "$site" "$lcid" || fail "help file, $locale"
    # Titles as the pages give them: a UTF-8 page and GBK pages that say so in a <meta>.
    hhc=$(iconv -f "$encoding" -t UTF-8 "$site/HH_KVEL.hhc" 2>/dev/null) || fail "HH_KVEL.hhc is not $encoding"
    for titles in 首页 "第一章 编译" "第二章 搜索"; do
        grep -q "$titles" <<<"$hhc" || fail "contents lack the title $titles, $locale"
    done
}
echo "== the road"
road zh_CN.UTF-8 0x804 GBK
# A Western Windows cannot hold the Chinese names in its code page: the project is in UTF-8.
road en_US.UTF-8 0x409 UTF-8

echo "== silent uninstall"
LC_ALL=zh_CN.UTF-8 wine "$program_folder/uninstall.exe" /S
wineserver -w
[ ! -e "$program_folder" ] || fail "left behind: $(find "$program_folder" | head -5)"
[ ! -e "$shortcut" ] || fail "left behind: the Start menu entry"
reg_query "$uninstall_key" | grep -q . && fail "left behind: $uninstall_key"

wineserver -w || true
echo "== $(($(date +%s) - started)) s, $([ $status -eq 0 ] && echo passed || echo FAILED)"
exit $status
