# Sourced by the scripts that build Windows code with mingw-w64 and run it under Wine:
# sets root, cxx, flags and a work folder removed on exit, and checks the tools.
root=$(cd "$(dirname "$0")/.." && pwd)
cxx=${CXX_MINGW:-x86_64-w64-mingw32-g++-posix}
flags="-std=c++20 -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor -Werror -I$root/src"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in "$cxx" wine; do
    command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 2; }
done
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
