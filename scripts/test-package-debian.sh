#!/bin/bash
# Installs the package into a fresh Debian 12 root, as `apt install ./folvane_*.deb` on a new
# machine would, and runs the installed programs there. Needs root, debootstrap and Debian's
# mirror; not part of CI.
#   scripts/test-package-debian.sh build-deb/folvane_*.deb [ROOT]
# ROOT is made with debootstrap when it holds no system yet.
set -euo pipefail
deb=$(realpath "$1")
root=${2:-$(mktemp -d)/root}
name=$(basename "$deb")

if [ ! -x "$root/usr/bin/apt-get" ]; then
    debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
fi
mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/$name"
in_root() { chroot "$root" env LC_ALL=C.UTF-8 DEBIAN_FRONTEND=noninteractive sh -ec "$1"; }

in_root "apt-get update -q && cd /tmp && apt-get install -y -q ./$name"
in_root 'folvane-make --help'
# The programs share one folder, bin/ links to them, and no hhc is on the path.
in_root 'ls -l /usr/bin/folvane /usr/bin/folvane-make /usr/lib/folvane/ && ! command -v hhc'
in_root 'ls /usr/share/applications/folvane.desktop /usr/share/icons/hicolor/scalable/apps/folvane.svg \
    /usr/share/man/man1/folvane-make.1.gz'
# A compile with the installed programs, started through the link.
in_root 'rm -rf /tmp/site && mkdir /tmp/site && cd /tmp/site &&
    printf "<html><head><title>首页</title></head><body>正文</body></html>" >index.htm &&
    folvane-make /tmp/site -t 手册 --titles between --home index.htm && test -s /tmp/site/手册.chm'
echo "installed $name into $root"
