#!/usr/bin/env bash
# Builds the Windows programs on Debian 12 with mingw-w64: a small static Qt from Debian's own
# qt6-base source (once, kept in a cache folder outside the repository), then folvane.exe,
# folvane-make.exe and hhc.exe from the project's CMake lists, then the zip and the installer.
#
#   scripts/build-windows.sh [--only-if-cached] [--qt-only] [--out DIR]
#
# --only-if-cached  build the programs only when the cached Qt is there; otherwise say so and
#                   exit 77 (what CI does, where the Qt build would take too long)
# --qt-only         stop once the cached Qt is there
# --out DIR         where the programs and packages go (default: build-windows in the checkout)
# FOLVANE_WINDOWS_CACHE: the cache folder (default ~/.cache/folvane-windows).
# scripts/test-windows-program.sh tests what it built under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${FOLVANE_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/folvane-windows}
out=$root/build-windows
only_if_cached=0
qt_only=0
while [ $# -gt 0 ]; do
    case $1 in
    --only-if-cached) only_if_cached=1 ;;
    --qt-only) qt_only=1 ;;
    --out)
        out=$2
        shift
        ;;
    *)
        echo "usage: $0 [--only-if-cached] [--qt-only] [--out DIR]" >&2
        exit 2
        ;;
    esac
    shift
done

# The target Qt must be the host tools' own version: Debian's moc, rcc and uic build for it.
qt_version=6.4.2
qt_prefix=$cache/qt-$qt_version-mingw64-static
# Changing what the Qt is built with changes this stamp, and the cache is built anew.
qt_stamp="qt6-base $qt_version static mingw-w64 posix; core gui widgets test; no opengl dbus sql network direct2d tabletevent; rev 1"
cross=x86_64-w64-mingw32
sudo=$(command -v sudo || true)
started=$(date +%s)
step_started=

# Each step says how long the one before it took.
step() {
    local now
    now=$(date +%s)
    [ -z "$step_started" ] || echo "   ($((now - step_started)) s)"
    step_started=$now
    echo "== $*"
}

qt_cached() {
    [ -f "$qt_prefix/folvane-stamp" ] && [ "$(cat "$qt_prefix/folvane-stamp")" = "$qt_stamp" ]
}

install_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    step "installing ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The cross compilers; packages are looked for below the Qt prefix too.
write_toolchain() {
    cat >"$1" <<EOF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $cross-gcc-posix)
set(CMAKE_CXX_COMPILER $cross-g++-posix)
set(CMAKE_RC_COMPILER $cross-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$cross "$qt_prefix")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
}

# A deb-src entry beside each of the system's Debian deb entries, so that apt-get source works.
add_source_entries() {
    apt-get source --print-uris -qq qt6-base >/dev/null 2>&1 && return
    step "adding deb-src entries"
    local list=/etc/apt/sources.list.d/folvane-deb-src
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed -e 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo tee "$list.sources" >/dev/null
    else
        grep -h '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $sudo tee "$list.list" >/dev/null
    fi
    $sudo apt-get update -qq
}

fetch_qt_source() {
    local work=$1 host=$2 sandbox=()
    step "fetching the qt6-base source package"
    # As root, apt's download user cannot write into the folder: root fetches, as apt would anyway.
    [ "$(id -u)" -ne 0 ] || sandbox=(-o APT::Sandbox::User=root)
    rm -rf "$work/fetch" && mkdir -p "$work/fetch"
    (cd "$work/fetch" && apt-get source -qq "${sandbox[@]}" "qt6-base=$host" >/dev/null)
    mv "$work/fetch"/qt6-base-*/ "$work/source.tmp"
    rm -rf "$work/fetch"
    mv "$work/source.tmp" "$work/source"
}

# Two places in the Windows platform plugin assume what is switched off here; both changes keep
# the lines as they are when Direct2D and OpenGL are there.
patch_qt_source() {
    local windows=$1/src/plugins/platforms/windows
    # Without Direct2D the DirectWrite 3 font engine's code needs it all the same.
    sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
        "$windows/qwindowsintegration.cpp"
    # Without OpenGL there is no software OpenGL to test for.
    sed -i '/^static inline bool isSoftwareGl()$/,/^}$/s/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
        "$windows/qwindowswindow.cpp"
    [ "$(grep -c '^#if QT_CONFIG(directwrite3) && QT_CONFIG(direct2d)$' "$windows/qwindowsintegration.cpp")" -eq 2 ] &&
        grep -q '^#if QT_CONFIG(dynamicgl) && QT_CONFIG(opengl)$' "$windows/qwindowswindow.cpp" ||
        { echo "the Qt source is not the one expected: its Windows platform plugin could not be patched" >&2; exit 1; }
}

# What the programs ship with Qt: its licences and those of the libraries built into it.
copy_qt_licences() {
    local source=$1 library
    mkdir -p "$qt_prefix/licenses/3rdparty"
    cp "$source/LICENSES"/{LGPL-3.0-only,GPL-2.0-only,GPL-3.0-only,Qt-GPL-exception-1.0}.txt "$qt_prefix/licenses/"
    cp "$source/debian/copyright" "$qt_prefix/licenses/copyright"
    for library in blake2 double-conversion easing forkfd freetype harfbuzz-ng icc libjpeg libpng md4c pcre2 \
        rfc6234 sha3 tinycbor zlib; do
        mkdir -p "$qt_prefix/licenses/3rdparty/$library"
        find "$source/src/3rdparty/$library" -maxdepth 1 -type f \( -iname 'licen[cs]e*' -o -iname 'copying*' \
            -o -iname 'copyright*' -o -iname '*-license*' \) -exec cp {} "$qt_prefix/licenses/3rdparty/$library/" \;
    done
}

build_qt() {
    install_packages dpkg-dev cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools
    local host work=$cache/qt-work
    host=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
    case $host in
    "$qt_version"+*) ;;
    *)
        echo "Debian's Qt host tools are $host, the cached Qt needs $qt_version" >&2
        exit 1
        ;;
    esac
    add_source_entries
    mkdir -p "$work"
    [ -d "$work/source" ] || fetch_qt_source "$work" "$host"
    patch_qt_source "$work/source"
    write_toolchain "$work/toolchain.cmake"
    step "configuring Qt $qt_version for mingw-w64"
    rm -rf "$qt_prefix"
    cmake -S "$work/source" -B "$work/build" -G Ninja -Wno-dev \
        -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" -DBUILD_SHARED_LIBS=OFF -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_direct2d=OFF -DFEATURE_tabletevent=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF \
        >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log" >&2; exit 1; }
    step "building Qt (log: $work/build.log)"
    cmake --build "$work/build" -j "$(nproc)" >"$work/build.log" 2>&1 || { tail -40 "$work/build.log" >&2; exit 1; }
    step "installing Qt into $qt_prefix"
    cmake --install "$work/build" >"$work/install.log" 2>&1 || { tail -40 "$work/install.log" >&2; exit 1; }
    copy_qt_licences "$work/source"
    # A toolchain beside the Qt for the programs built against it.
    write_toolchain "$qt_prefix/folvane-toolchain.cmake"
    echo "$qt_stamp" >"$qt_prefix/folvane-stamp"
    rm -rf "$work"
}

build_programs() {
    step "building folvane.exe, folvane-make.exe and hhc.exe (log: $out/build.log)"
    # Qt's Chinese texts (standard buttons, the file dialogs) go into the program; Debian's are
    # of the same Qt version.
    mkdir -p "$qt_prefix/translations"
    cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$qt_prefix/translations/"
    # Static: the programs need no DLL beside them, not even MinGW's runtime. The tests need a
    # Posix system and are left out; scripts/test-windows-program.sh tests the programs.
    cmake -S "$root" -B "$out/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/folvane-toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCMAKE_EXE_LINKER_FLAGS=-static -DCMAKE_CXX_FLAGS=-Werror \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        >"$out/build.log" 2>&1 || { tail -40 "$out/build.log" >&2; exit 1; }
    cmake --build "$out/build" -j "$(nproc)" --target folvane folvane-make hhc >>"$out/build.log" 2>&1 ||
        { grep -E -A5 'error|FAILED' "$out/build.log" | head -60 >&2; exit 1; }
    local program
    for program in $programs; do
        $cross-strip -o "$out/$program" "$out/build/bin/$program"
    done
}

pack_zip() {
    step "packing $zip"
    rm -rf "$stage" && mkdir -p "$stage/licenses/Qt"
    # shellcheck disable=SC2086
    (cd "$out" && cp $programs "$stage/")
    # Notepad on every Windows reads UTF-8 with a byte-order mark; lines end in CR LF.
    local package
    package=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
    { printf '\xEF\xBB\xBF' && sed -e "s/@VERSION@/$version/g" -e "s/@QT_VERSION@/$qt_version/g" \
        -e "s/@QT_PACKAGE@/$package/g" -e 's/$/\r/' "$root/packaging/windows/README.txt"; } >"$stage/README.txt"
    cp -r "$qt_prefix/licenses/." "$stage/licenses/Qt/"
    local licence shipped=0
    for licence in LICENSE LICENSE.txt LICENSE.md COPYING; do
        [ -f "$root/$licence" ] || continue
        cp "$root/$licence" "$stage/licenses/Folvane-$licence"
        shipped=1
    done
    [ $shipped -eq 1 ] || echo "   warning: the project has no licence file (LICENSE) to ship"
    rm -f "$out/$zip"
    (cd "$out" && zip -q -r -X "$zip" "$(basename "$stage")")
}

make_installer() {
    step "making $setup"
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DICON="$root/packaging/folvane.ico" \
        -DOUTFILE="$out/$setup" \
        "$root/packaging/windows/installer.nsi" >"$out/nsis.log" 2>&1 || { cat "$out/nsis.log" >&2; exit 1; }
}

if ! qt_cached; then
    if [ $only_if_cached -eq 1 ]; then
        echo "SKIPPED: the Windows program build and its Wine test: no cached Qt $qt_version for mingw-w64 in"
        echo "  $qt_prefix"
        echo "  (scripts/build-windows.sh makes one, in 30 to 90 minutes; it is then reused)"
        exit 77
    fi
    build_qt
fi
echo "== Qt $qt_version for mingw-w64: $qt_prefix, $(du -sh "$qt_prefix" | cut -f1)"
[ $qt_only -eq 0 ] || exit 0

install_packages cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev-tools qt6-translations-l10n nsis zip
version=$(sed -n 's/^project(Folvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
mkdir -p "$out"
out=$(cd "$out" && pwd)
programs="folvane.exe folvane-make.exe hhc.exe"
stage=$out/folvane-$version-win64
zip=folvane-$version-win64.zip
setup=folvane-$version-setup.exe
build_programs
pack_zip
make_installer
step "done in $(($(date +%s) - started)) s"
for file in $programs $zip $setup; do
    printf '   %-28s %s\n' "$file" "$(du -h "$out/$file" | cut -f1)"
done
echo "   Qt: $qt_prefix, $(du -sh "$qt_prefix" | cut -f1)"
