#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer, then runs each for a bounded time.
#   fuzz/run.sh [seconds per target, default 600] [target names, default all]
# New inputs go to build-fuzz/corpus/<name>; a finding is saved in build-fuzz/findings/<name>.
# A finding belongs in fuzz/corpus/<name> (the tests replay it) and gets a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
if ! command -v clang++ >/dev/null || [ ! -e "$(clang++ -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a" ]; then
    $(command -v sudo) apt-get install -y --no-install-recommends clang libclang-rt-dev ||
        $(command -v sudo) apt-get install -y --no-install-recommends clang libclang-rt-14-dev
fi
build=build-fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DFOLVANE_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target fuzz_targets

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for source in fuzz/fuzz_*.cpp; do
        name=$(basename "$source" .cpp)
        names+=("${name#fuzz_}")
    done
fi
status=0
for name in "${names[@]}"; do
    mkdir -p "$build/corpus/$name" "$build/findings/$name"
    echo "== $name: $seconds s"
    if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build/fuzz/fuzz_$name" "$build/corpus/$name" "fuzz/corpus/$name" \
        -max_total_time="$seconds" -max_len=1024 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$name/" >"$build/findings/$name.log" 2>&1; then
        echo "   finding: see $build/findings/$name.log"
        status=1
    fi
    grep -E "^stat::number_of_executed_units|^Done" "$build/findings/$name.log" | sed 's/^/   /' || true
done
exit $status
