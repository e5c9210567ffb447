#!/bin/sh
# Profile-guided release build in one folder (default build-pgo): an
# instrumented build, a short training run (the bench set, whose search is
# what the engine spends its time on, and perft one ply short of the
# benchmark for the move generator), then the rebuild with the profile.
# Nothing is redone while no source is newer than the last finished build.
# Exits non-zero when the compiler is not GCC or a step fails, so that the
# caller can fall back to the plain release.
#
# Usage: scripts/pgo-build.sh [BUILD_DIR] [JOBS]
set -eu

dir=${1:-build-pgo}
jobs=${2:-2}
stamp=$dir/pgo.stamp
cxx=${CXX:-c++}

macros=$(echo | "$cxx" -dM -E -x c++ - 2>/dev/null || true)
if ! echo "$macros" | grep -q __GNUC__ || echo "$macros" | grep -q __clang__; then
  echo "pgo: $cxx is not GCC; no profile-guided build" >&2
  exit 1
fi

if [ -f "$stamp" ] && [ -x "$dir/torvek_uci" ] && [ -x "$dir/torvek" ] &&
  [ -z "$(find . -path "./build*" -prune -o \
    \( -name '*.cpp' -o -name '*.h' -o -name CMakeLists.txt -o -name '*.cmake' \) \
    -newer "$stamp" -print | head -n 1)" ]; then
  echo "pgo: $dir is up to date"
  exit 0
fi

# The stamp is taken before the build, so that an edit made during it is
# newer and triggers the next build.
mkdir -p "$dir"
rm -f "$stamp"
touch "$stamp.new"
rm -rf "$dir/profile"
configure() {
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DTORVEK_TESTS=OFF -DTORVEK_PGO="$1" \
    -DTORVEK_PGO_DIR="$(pwd)/$dir/profile"
}

echo "pgo: instrumented build"
configure generate
cmake --build "$dir" -j "$jobs"

echo "pgo: training run"
# benchsig returns 1 when its total is not the recorded signature; the run
# still trains, so only a crash (any other status) stops the build.
status=0
(cd "$dir" && ./programs/benchsig/benchsig 8) || status=$?
[ "$status" -le 1 ] || { echo "pgo: training search failed ($status)" >&2; exit 1; }
(cd "$dir" && ./programs/perftbench/perftbench 1 >/dev/null)

echo "pgo: rebuild with the profile"
# A source edited after the instrumented build no longer matches its
# profile and GCC refuses it; the instrumented programs (several times
# slower) must not stay behind looking like a release.
configure use
cmake --build "$dir" -j "$jobs" || {
  rm -f "$dir/torvek_uci" "$dir/torvek"
  echo "pgo: the rebuild with the profile failed (sources changed during the build?)" >&2
  exit 1
}
mv "$stamp.new" "$stamp"
echo "pgo: $dir/torvek_uci and $dir/torvek are profile-guided"
