#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the project.
# Idempotent, and silent when everything is already there. Needs root (or
# sudo) only when something is missing.
# Usage: scripts/bootstrap.sh [--for demo|desktop-demo]
#   with no option, everything the tests need; --for demo only what builds
#   and runs the programs without a display, --for desktop-demo that and the
#   desktop program under a virtual display, so a demo does not wait for the
#   cross-compilers, Wine and the fuzzing tools.
set -euo pipefail

required=(
    build-essential cmake ninja-build pkg-config binutils
    # the link compresses transfers with zlib
    zlib1g-dev
    # the layout check lists the sources with git
    git
    # the network-line tests run zelo32 through ser2net on loopback
    ser2net
    libgtest-dev libgmock-dev jq
    # the fault soak makes its seeded test data with python3
    python3
    # fuzzing (libFuzzer) needs clang and its runtime; the layout check clang-format
    clang libclang-rt-14-dev clang-format
    # the desktop program and its tests under a virtual display
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev xvfb xauth xdotool imagemagick fonts-noto-cjk
)
# The Windows cross-builds and the Wine stage run only where these install;
# the benchmark compares with lrzsz when it is there; lintian checks the .deb.
optional=(
    g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev wine64
    lrzsz lintian bash-completion
)

case "${1:-}" in
"") ;;
--for)
    base=(build-essential cmake ninja-build pkg-config zlib1g-dev)
    case "${2:-}" in
    demo) required=("${base[@]}") ;;
    desktop-demo)
        required=("${base[@]}" qt6-base-dev qt6-base-dev-tools qt6-svg-dev xvfb xauth xdotool
            imagemagick fonts-noto-cjk)
        ;;
    *) echo "bootstrap: --for demo or --for desktop-demo" >&2 && exit 2 ;;
    esac
    optional=()
    ;;
*) echo "usage: scripts/bootstrap.sh [--for demo|desktop-demo]" >&2 && exit 2 ;;
esac

missing_from() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            echo "$pkg"
    done
}

as_root() {
    if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

mapfile -t missing < <(missing_from "${required[@]}")
mapfile -t missing_optional < <(missing_from "${optional[@]}")
[[ ${#missing[@]} -eq 0 && ${#missing_optional[@]} -eq 0 ]] && exit 0

export DEBIAN_FRONTEND=noninteractive
echo "bootstrap: installing ${missing[*]} ${missing_optional[*]}"
as_root apt-get update -qq >/dev/null
if [[ ${#missing[@]} -gt 0 ]]; then
    as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if [[ ${#missing_optional[@]} -gt 0 ]]; then
    as_root apt-get install -y -qq --no-install-recommends "${missing_optional[@]}" >/dev/null ||
        echo "bootstrap: optional ${missing_optional[*]} not installed; the Windows check will be skipped"
fi
