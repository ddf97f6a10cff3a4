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
# The whole test runs on a screen of its own.
if [ -z "${FOLVANE_TEST_SCREEN:-}" ]; then
    FOLVANE_TEST_SCREEN=1 exec xvfb-run -a -s "-screen 0 1280x900x24" bash "$0" --out "$out" ${shots:+--shots "$shots"}
fi

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
# Wine draws the frames and captions itself, so that screenshots show them without a window
# manager; the console's font gets Chinese characters (its own has none).
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Console' /v FaceName /d 'Noto Sans Mono CJK SC' /f >/dev/null 2>&1

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
    local locale=$1 lcid=$2 encoding=$3 console=$4 site=$work/$1/网站 hhc titles
    echo "-- folvane-make.exe, LC_ALL=$locale"
    "$python" "$root/tests/wine/chinese_help.py" make "$site" "$(windows_path "$site")" utf-8
    rm "$site/HH_KVEL.hhp" "$site/HH_KVEL.hhc"
    (cd "$work" && LC_ALL=$locale wine "$program_folder/folvane-make.exe" "$(windows_path "$site")" -t 帮助测试 \
        -o "$(windows_path "$site/帮助.chm")" --titles between --home index.htm 2>&1 |
        iconv -f "$console" -t UTF-8 -c) || fail "folvane-make.exe, $locale"
    "$python" "$root/tests/wine/chinese_help.py" check "$site" "$lcid" || fail "help file, $locale"
    # Titles as the pages give them: a UTF-8 page and GBK pages that say so in a <meta>.
    hhc=$(iconv -f "$encoding" -t UTF-8 "$site/HH_KVEL.hhc" 2>/dev/null) || fail "HH_KVEL.hhc is not $encoding"
    for titles in 首页 "第一章 编译" "第二章 搜索"; do
        grep -q "$titles" <<<"$hhc" || fail "contents lack the title $titles, $locale"
    done
}
echo "== the road"
# Each locale's console code page shows what it can hold of the output.
road zh_CN.UTF-8 0x804 GBK GBK
# A Western Windows cannot hold the Chinese names in its code page: the project is in UTF-8.
road en_US.UTF-8 0x409 UTF-8 CP1252

# The window whose caption matches $1 (an extended regular expression), once it is there.
wait_window() {
    local _ window
    for _ in $(seq 60); do
        window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) && [ -n "$window" ] &&
            { echo "$window"; return; }
        sleep 1
    done
    return 1
}

gone_window() {
    local _
    for _ in $(seq 30); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 1
    done
    return 1
}

# Clicks at x, y pixels from the top left corner of window $1, Wine's frame included.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 1
}

shot() {
    sleep 1
    import -window root "$shots/$1.png"
    echo "   screenshot $shots/$1.png"
}

verb_command() {
    reg_query "HKCR\\hhpfile\\$1\\编译(&E)\\command" | sed -n 's/^ *([^)]*) *REG_SZ *//p'
}

# The right-click command through the menu: "编辑(&E)", its last item.
toggle_verb() {
    click "$main" 150 400
    xdotool key alt+e
    sleep 1
    [ -z "${1:-}" ] || shot "$1"
    xdotool key Up Return
    sleep 2
}

# The program as a user meets it, driven by clicks at the places its windows give the buttons.
program() {
    local site=$work/gui/site main builder settings console part hhc
    echo "-- folvane.exe, LC_ALL=zh_CN.UTF-8"
    "$python" "$root/tests/wine/chinese_help.py" make "$site" "$(windows_path "$site")" utf-8
    rm "$site/HH_KVEL.hhp" "$site/HH_KVEL.hhc"
    # A .hhp type with a command of another program, which the right-click command replaces.
    LC_ALL=zh_CN.UTF-8 wine reg add 'HKCR\.hhp' /ve /d hhpfile /f >/dev/null 2>&1
    LC_ALL=zh_CN.UTF-8 wine reg add 'HKCR\hhpfile\shell\编译(&E)\command' /ve /d 'notepad.exe "%1"' /f >/dev/null 2>&1
    # Started from a folder on Z:, the folder browser opens at Z:.
    # Its shell stays quiet when the end of the run kills Wine.
    (cd "$work" && env LC_ALL=zh_CN.UTF-8 wine "$program_folder/folvane.exe" >"$work/folvane.log" 2>&1) 2>/dev/null &
    local program_pid=$!
    wait_window "^选择文件夹$" >/dev/null || { fail "no folder browser at start-up"; return; }
    # Wine's browser does not take a typed path: the folders are chosen in the tree by typing.
    for part in $(echo "${site#/}" | tr / ' '); do
        xdotool key Right
        sleep 0.5
        xdotool type --delay 30 "$part"
        sleep 1
    done
    shot 1-folder-browser
    xdotool key Return
    gone_window '^选择文件夹$' || fail "folder browser still open"
    main=$(wait_window '^Folvane - Simple CHM Maker$') || { fail "no main window"; return; }
    sleep 3
    click "$main" 313 149 # ==>
    builder=$(wait_window '^导航栏制作$') || { fail "no navigation builder"; return; }
    click "$builder" 31 72 # titles between <title> and </title>
    shot 3-navigation-builder
    click "$builder" 52 259 # 确定
    sleep 3
    shot 2-main-window
    click "$main" 153 58 # 编译设置
    settings=$(wait_window '^编译设置$') || { fail "no compile settings"; return; }
    click "$settings" 100 54 # CHM首页
    xdotool type --delay 50 'index.htm'
    click "$settings" 159 75 # CHM标题
    xdotool type --delay 50 'Demo Help'
    shot 4-compile-settings
    click "$settings" 351 75 # 保存并编译
    console=$(wait_window 'hhc\.exe$') || fail "no console window of the compiler"
    for part in $(seq 60); do
        [ ! -f "$site/Demo Help.chm" ] || break
        sleep 1
    done
    [ -f "$site/Demo Help.chm" ] || fail "保存并编译 wrote no help file"
    grep -q '^Default topic=index\.htm' "$site/HH_KVEL.hhp" || fail "the home page is not in HH_KVEL.hhp"
    sleep 2
    shot 5-compiler-console
    hhc=$(iconv -f GBK -t UTF-8 "$site/HH_KVEL.hhc" 2>/dev/null) || fail "the window's HH_KVEL.hhc is not GBK"
    for part in 首页 "第一章 编译" "第二章 搜索"; do
        grep -q "$part" <<<"$hhc" || fail "the window's contents lack the title $part"
    done
    # The console waits for a key, then closes.
    if [ -n "${console:-}" ]; then
        xdotool search --onlyvisible --name 'hhc\.exe$' >/dev/null || fail "the compiler's console closed by itself"
        click "$console" 300 200
        xdotool key space
        gone_window 'hhc\.exe$' || fail "the compiler's console stays after a key"
    fi
    click "$main" 136 35 # 关于..
    wait_window "^关于 " >/dev/null || fail "no About window"
    shot 6-about
    xdotool key Escape
    gone_window '^关于 ' || fail "About stays open after Esc"

    echo "-- hhp文件右键编译"
    local ours="\"C:\\Program Files\\Folvane\\hhc.exe\"  \"%1\""
    toggle_verb 7-edit-menu
    [ "$(verb_command shell)" = "$ours" ] || fail "registered: $(verb_command shell)"
    [ "$(verb_command shell_Old)" = 'notepad.exe "%1"' ] || fail "previous command not kept: $(verb_command shell_Old)"
    toggle_verb
    [ "$(verb_command shell)" = 'notepad.exe "%1"' ] || fail "previous command not back: $(verb_command shell)"
    reg_query 'HKCR\hhpfile\shell_Old' | grep -q . && fail "shell_Old left behind"
    # Left registered: the uninstaller takes it away.
    toggle_verb
    [ "$(verb_command shell)" = "$ours" ] || fail "registered again: $(verb_command shell)"
    wineserver -k
    { wait "$program_pid"; } 2>/dev/null || true
}

echo "== the window program"
program

echo "== silent uninstall"
LC_ALL=zh_CN.UTF-8 wine "$program_folder/uninstall.exe" /S
wineserver -w
[ ! -e "$program_folder" ] || fail "left behind: $(find "$program_folder" | head -5)"
[ ! -e "$shortcut" ] || fail "left behind: the Start menu entry"
reg_query "$uninstall_key" | grep -q . && fail "left behind: $uninstall_key"
[ "$(verb_command shell)" = 'notepad.exe "%1"' ] || fail "uninstalled: the previous command is not back"
reg_query 'HKCR\hhpfile\shell_Old' | grep -q . && fail "uninstalled: shell_Old left behind"

wineserver -w || true
echo "== $(($(date +%s) - started)) s, $([ $status -eq 0 ] && echo passed || echo FAILED)"
exit $status
