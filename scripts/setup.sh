#!/usr/bin/env bash
# Sets up a Debian 12 machine for TongXue, builds it, then runs the program or the tests.
#   scripts/setup.sh run    build and start the program from build/tongxue/
#   scripts/setup.sh test   build and run every test
set -euo pipefail

mode=${1:-run}
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build"

packages=(
  g++ cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-private-dev qt6-webengine-dev libgl-dev libxkbcommon-dev
  libx11-dev libxcb1-dev
  libsdl2-dev libsqlite3-dev libjpeg62-turbo-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  espeak-ng sox fonts-noto-cjk fonts-noto-color-emoji
  xvfb xauth xdotool dbus dbus-x11 at-spi2-core python3-pyatspi
  poppler-utils
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

# Ruffle comes from the npm registry; a machine without npm gets Debian's.
if ! command -v npm >/dev/null 2>&1; then
  packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Ruffle, the Flash player for .swf courseware (npm package, pinned; never committed).
ruffle_version=0.6.0
ruffle_pkg="$build/ruffle/node_modules/@ruffle-rs/ruffle"
if ! grep -qsE "\"version\": *\"$ruffle_version\"" "$ruffle_pkg/package.json"; then
  if command -v npm >/dev/null; then
    npm install --prefix "$build/ruffle" "@ruffle-rs/ruffle@$ruffle_version" --no-audit --no-fund
  else
    echo "npm not found: .swf courseware will not play (install npm, run again)" >&2
  fi
fi

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTX_WERROR=ON
fi
cmake --build "$build"

case "$mode" in
  run)
    cd "$build/tongxue"
    exec ./tongxue
    ;;
  test)
    exec ctest --test-dir "$build" --output-on-failure -j 2
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
