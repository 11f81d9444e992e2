#!/usr/bin/env bash
# Installs what tarn needs on Debian 12 (when something is missing), builds it, and then either
# runs the program or runs the tests.
#   ./build.sh run [DIR]   build and start tarn
#   ./build.sh test        build and run every test
# Environment: BUILD_DIR (default: build), CMAKE_ARGS (extra configure arguments).
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgtest-dev libgmock-dev
          fonts-liberation fonts-dejavu-core poppler-utils python3 clang-14 libclang-rt-14-dev)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "missing packages ${missing[*]}: run as root" >&2; exit 1; }
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {
    local dir=${BUILD_DIR:-build}
    # shellcheck disable=SC2086
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-} >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

command=${1:-run}
[ $# -gt 0 ] && shift
case "$command" in
run)
    install_missing
    build
    exec "${BUILD_DIR:-build}/src/app/tarn" "$@"
    ;;
test)
    install_missing
    build
    ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
    ;;
*)
    echo "usage: $0 run [DIR] | $0 test" >&2
    exit 2
    ;;
esac
