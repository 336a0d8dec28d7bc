#!/usr/bin/env bash
# Builds the picture fuzz target with clang (libFuzzer + AddressSanitizer) into $1
# (default build-fuzz/) with its seed corpus, then runs it for $2 seconds (default 600).
#   tests/fuzz/build_picture_fuzz.sh [dir] [seconds]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$top/build-fuzz}
seconds=${2:-600}
mkdir -p "$out/corpus" "$out/seeds" "$out/artifacts"
qt_flags=$(pkg-config --cflags --libs Qt6Gui Qt6Core)
common=(-std=c++20 -g -O1 -fPIC -I"$top/src" -I"$top/tests")
clang++ "${common[@]}" -fsanitize=fuzzer,address \
  "$top/tests/fuzz/picture_fuzz.cpp" "$top/src/platform/BitmapCodec.cpp" \
  $qt_flags -ljpeg -o "$out/picture_fuzz"
clang++ "${common[@]}" -fsanitize=address \
  "$top/tests/fuzz/picture_fuzz_seeds.cpp" "$top/src/platform/BitmapCodec.cpp" \
  $qt_flags -ljpeg -o "$out/picture_fuzz_seeds"
QT_QPA_PLATFORM=offscreen "$out/picture_fuzz_seeds" "$out/seeds"
cd "$out"
QT_QPA_PLATFORM=offscreen ./picture_fuzz -max_total_time="$seconds" -max_len=20000 \
  -artifact_prefix=artifacts/ -print_final_stats=1 corpus seeds
