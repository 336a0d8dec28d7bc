#!/usr/bin/env bash
# A 12-megapixel JPEG to the stored bitmap bytes, whole process, ours against djpeg -bmp
# (Debian package libjpeg-turbo-progs) on the same file in the same run, alternating.
#   bench/picture_bench.sh [build dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-15}
tool="$build/bench/jpeg_to_bmp"
command -v djpeg >/dev/null || { echo "djpeg not found (apt-get install libjpeg-turbo-progs)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" make 4000 3000 "$work/photo.jpg"
echo "input: $(stat -c %s "$work/photo.jpg") bytes, 4000x3000"
ours=() theirs=()
for ((i = 0; i < runs; i++)); do
  t0=$(date +%s%N); "$tool" "$work/photo.jpg" "$work/ours.bmp"; t1=$(date +%s%N)
  djpeg -bmp -outfile "$work/djpeg.bmp" "$work/photo.jpg"; t2=$(date +%s%N)
  ours+=($(( (t1 - t0) / 1000 ))); theirs+=($(( (t2 - t1) / 1000 )))
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
mo=$(median "${ours[@]}"); mt=$(median "${theirs[@]}")
cmp -s -i 54 "$work/ours.bmp" "$work/djpeg.bmp" && echo "pixels: identical to djpeg" || echo "pixels: DIFFER from djpeg"
echo "output: ours $(stat -c %s "$work/ours.bmp") bytes, djpeg $(stat -c %s "$work/djpeg.bmp") bytes"
echo "median of $runs runs: ours ${mo} us, djpeg -bmp ${mt} us, ratio $(awk "BEGIN {printf \"%.2f\", $mo / $mt}")"
