#!/usr/bin/env bash
# Builds the Debian package and checks it as an operator would meet it:
# its contents (dpkg-deb -c), lintian where installed, then, unpacked into a
# scratch root, `zelo32 --version` and a small C program compiled against
# the installed header with `pkg-config --cflags --libs zelodll`.
# Usage: scripts/check_package.sh [build-dir]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/package}"
jobs="$(nproc 2>/dev/null || echo 2)"
fail() { echo "package check: $*" >&2; exit 1; }

# One optimised build of the programs, libraries and benchmarks with
# warnings as errors: the optimiser warns where a debug build does not. The
# tests are left out: the sanitizer builds compile and run them, and their
# warnings under the optimiser would say nothing about what is shipped. The
# package takes only what is installed from it.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DZELO_WERROR=ON -DZELO_BUILD_TESTS=OFF -DZELO_BUILD_BENCH=ON >/dev/null
# The build's output goes to a log; a failed build shows its end.
cmake --build "$build" -j "$jobs" >"$build/build.log" 2>&1 || {
    tail -60 "$build/build.log" >&2
    fail "the Release build failed (whole log: $build/build.log)"
}
rm -f "$build"/zelo32_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/zelo32_*.deb)"

contents="$(dpkg-deb -c "$deb")"
for wanted in ./usr/bin/zelo32 ./usr/bin/zelo-termsim ./usr/include/zelo/zelodll.h \
    ./usr/include/zelo/pendra.h ./usr/share/man/man1/zelo32.1.gz \
    ./usr/share/man/man1/zelo-termsim.1.gz ./usr/share/bash-completion/completions/zelo32 \
    ./usr/share/doc/zelo32/Zelocom.ini.sample ./usr/share/doc/zelo32/copyright \
    ./usr/share/doc/zelo32/network-lines.md ./usr/lib/systemd/system/zelo32-poll@.service; do
    grep -q " $wanted\$" <<<"$contents" || fail "$wanted is not in the package"
done
grep -Eq ' \./usr/lib/[^/]+/libzelodll\.so\.19 -> ' <<<"$contents" || fail "no libzelodll.so.19"
grep -Eq ' \./usr/lib/[^/]+/libpendra\.so\.19 -> ' <<<"$contents" || fail "no libpendra.so.19"
grep -Eq ' \./usr/lib/[^/]+/pkgconfig/zelodll\.pc$' <<<"$contents" || fail "no zelodll.pc"
dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "no dependencies worked out"

if command -v lintian >/dev/null; then
    # Reported, not fatal: a package built outside a Debian source tree
    # draws remarks (no changelog) that do not stop it from installing.
    lintian --no-tag-display-limit "$deb" || true
fi

scratch="$build/scratch-root"
rm -rf "$scratch"
dpkg-deb -x "$deb" "$scratch"
libdir="$(dirname "$(find "$scratch/usr/lib" -name 'libzelodll.so.19' | head -1)")"
LD_LIBRARY_PATH="$libdir" "$scratch/usr/bin/zelo32" --version | grep -q '^libzelodll 19$' ||
    fail "the installed zelo32 does not run"

cat >"$build/use_zelodll.c" <<'C'
#include <stdio.h>
#include <zelodll.h>
int main(void) {
    char reason[256];
    int kind;
    if (HM_version() != ZELO_VERSION) return 1;
    kind = HM_last_error_text(reason, (int32_t)sizeof reason);
    printf("zelodll %d, open reason %d\n", (int)HM_version(), kind);
    return kind == ZELO_OPEN_OK ? 0 : 1;
}
C
flags="$(PKG_CONFIG_PATH="$libdir/pkgconfig" PKG_CONFIG_SYSROOT_DIR="$scratch" \
    pkg-config --cflags --libs zelodll)"
# shellcheck disable=SC2086
cc -o "$build/use_zelodll" "$build/use_zelodll.c" $flags -Wl,-rpath-link,"$libdir"
LD_LIBRARY_PATH="$libdir" "$build/use_zelodll" | grep -q '^zelodll 19, open reason 0$' ||
    fail "the C program against the installed header did not run"
# An install to another prefix than the configured one names that prefix.
elsewhere="$build/elsewhere"
rm -rf "$elsewhere"
cmake --install "$build" --prefix "$elsewhere" >/dev/null
grep -qx "prefix=$elsewhere" "$(find "$elsewhere" -name zelodll.pc | head -1)" ||
    fail "zelodll.pc installed under $elsewhere names another prefix"
echo "package check: $(basename "$deb") holds the programs, libraries, headers, man pages;" \
    "installed zelo32 and a C program built with pkg-config run"
