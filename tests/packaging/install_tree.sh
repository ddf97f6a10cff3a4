#!/bin/sh
# Installs the build into a scratch root as a package would, then checks the tree and starts
# folvane-make through its link in bin/: it must find hhc beside its real file.
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr
for name in folvane hhc folvane-make; do
    [ -x "$usr/lib/folvane/$name" ] || fail "lib/folvane/$name is missing"
done
for name in folvane folvane-make; do
    [ "$(readlink "$usr/bin/$name")" = "../lib/folvane/$name" ] || fail "bin/$name is not a link to lib/folvane"
done
[ ! -e "$usr/bin/hhc" ] || fail "hhc is on the path"
[ -f "$usr/share/icons/hicolor/scalable/apps/folvane.svg" ] || fail "no icon"
gzip -dc "$usr/share/man/man1/folvane-make.1.gz" | grep -q '^\.TH FOLVANE-MAKE 1' || fail "no manual page"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$usr/share/applications/folvane.desktop" || fail "desktop entry"
fi

site=$root/site
mkdir "$site"
printf '<html><head><title>首页</title></head><body>正文</body></html>' >"$site/index.htm"
"$usr/bin/folvane-make" "$site" -t 手册 --titles between -q || fail "folvane-make through its link"
[ -s "$site/手册.chm" ] || fail "no help file"
echo "1 passed, 0 failed"
