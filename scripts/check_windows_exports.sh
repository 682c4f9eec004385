#!/usr/bin/env bash
# Cross-builds the shipped Windows programs for 32-bit Windows with MinGW-w64
# (zelodll.dll, pendra.dll, zelo32.exe) and checks that zelodll.dll exports
# exactly the names of zelodll.def under their fixed ordinals, with the module
# name "zelodll.dll", the stdcall convention and version 19; that it binds
# pendra.dll by plain names, which a replacement built to pendra.h offers;
# and that zelo32.exe binds zelodll.dll by ordinal.
# Usage: scripts/check_windows_exports.sh [build-dir]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/mingw}"
objdump=i686-w64-mingw32-objdump
windres=i686-w64-mingw32-windres

if ! command -v i686-w64-mingw32-g++-posix >/dev/null; then
    echo "windows export check: skipped (g++-mingw-w64-i686 is not installed)"
    exit 0
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
    -DZELO_BUILD_TESTS=OFF -DZELO_BUILD_BENCH=OFF -DZELO_BUILD_APP=ON -DZELO_WERROR=ON >/dev/null
fail() { echo "windows export check: $*" >&2; exit 1; }
# The build's output goes to a log; a failed build shows its end.
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target zelodll pendra zelo32 \
    >"$build/build.log" 2>&1 || {
    tail -60 "$build/build.log" >&2
    fail "the cross-build failed (whole log: $build/build.log)"
}

dll="$build/bin/zelodll.dll"
dump="$($objdump -p "$dll")"

grep -qE '^Name[[:space:]]+[0-9a-f]+ zelodll\.dll$' <<<"$dump" || fail "module name is not zelodll.dll"
grep -qE '^Ordinal Base[[:space:]]+1$' <<<"$dump" || fail "ordinal base is not 1"

# Expected "ordinal name" pairs from the .def, and the built ones from the
# DLL's name table (index + base 1).
expected="$(sed -nE 's/^[[:space:]]+([A-Za-z_0-9]+)(=[A-Za-z_0-9]+)?[[:space:]]+@([0-9]+).*/\3 \1/p' \
    "$root/zelodll/exports/zelodll.def" | sort -n)"
actual="$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
    sed -nE 's/^[[:space:]]+\[ *([0-9]+)\] ([A-Za-z_0-9]+)$/\1 \2/p' |
    awk '{print $1 + 1, $2}' | sort -n)"
# 80 fixed names and eight additions (HM_last_error_text at ordinal 100,
# HM_last_file_error_text at 101, HM_poll_number at 102, HM_poll_stored at
# 103, and the group download: HM_download_group1 at 104, HM_download_group2
# at 105, HM_download_group_member at 106, HM_download_group_resume at 107).
[[ "$(wc -l <<<"$expected")" -eq 88 ]] || fail "the .def does not list 88 names"
additions="$(awk '$1 > 85' <<<"$expected" | tr '\n' ' ')"
[[ "$additions" == "100 HM_last_error_text 101 HM_last_file_error_text 102 HM_poll_number 103 HM_poll_stored 104 HM_download_group1 105 HM_download_group2 106 HM_download_group_member 107 HM_download_group_resume " ]] ||
    fail "the additions beyond the fixed ordinals are not as listed: $additions"
if [[ "$expected" != "$actual" ]]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "exports differ from zelodll.def"
fi
addresses="$(sed -n '/Export Address Table --/,/^$/p' <<<"$dump" | grep -c 'Export RVA')"
[[ "$addresses" -eq 88 ]] || fail "$addresses export addresses, not 88"

# stdcall: the callee removes its five 32-bit arguments.
disassembly="$($objdump -d "$dll")"
awk '/<_HM_OpenCommPort@20>:/{f=1} f&&/ret/{print; exit}' <<<"$disassembly" |
    grep -qE 'ret[[:space:]]+[$]0x14' || fail "HM_OpenCommPort is not stdcall"

resources="$($windres -i "$dll" -J coff -O rc 2>/dev/null)"
grep -q 'FILEVERSION 19, 0, 0, 0' <<<"$resources" ||
    fail "version block is not 19, 0, 0, 0"

# The link library is found by name at load time, so another built to
# pendra.h can replace it; the program loads the library the same way.
grep -qE '^[[:space:]]*DLL Name: pendra\.dll$' <<<"$dump" || fail "zelodll.dll does not import pendra.dll"
# By plain names: a replacement built to pendra.h alone (every function a
# stub, exported undecorated as zelodll.dll's own functions are) must offer
# every name zelodll.dll asks of pendra.dll.
names_in() { sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -nE 's/^[[:space:]]+\[ *[0-9]+\] (.+)$/\1/p' | sort; }
wanted="$(sed -n '/DLL Name: pendra\.dll$/,/^$/p' <<<"$dump" |
    sed -nE '3,$ s/^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+(.+)$/\1/p' | sort)"
[[ -n "$wanted" ]] || fail "no imports of pendra.dll found"
if grep -q '@' <<<"$wanted"; then fail "zelodll.dll imports decorated names of pendra.dll"; fi
if $objdump -p "$build/bin/pendra.dll" | names_in | grep -q '@'; then
    fail "pendra.dll exports decorated names"
fi
replacement="$build/replacement-pendra"
mkdir -p "$replacement"
{
    printf '#define PENDRA_BUILDING\n#include "pendra.h"\n'
    awk '/^PENDRA_EXPORT/ { d = $0; while (d !~ /;/ && (getline l) > 0) d = d " " l
        sub(/;.*/, "", d); print d (d ~ /^PENDRA_EXPORT void / ? " {}" : " { return 0; }") }' \
        "$root/pendra/include/pendra.h"
} >"$replacement/pendra.c"
i686-w64-mingw32-gcc -shared -I"$root/pendra/include" -o "$replacement/pendra.dll" \
    "$replacement/pendra.c" -Wl,--kill-at || fail "the replacement pendra.dll did not build"
unbound="$(comm -23 <(echo "$wanted") <($objdump -p "$replacement/pendra.dll" | names_in))"
[[ -z "$unbound" ]] || fail "a replacement pendra.dll built to pendra.h lacks: $unbound"
# The program binds every function of zelodll.dll by ordinal, none by name.
program_imports="$($objdump -p "$build/bin/zelo32.exe" | sed -n '/DLL Name: zelodll\.dll$/,/^$/p')"
[[ -n "$program_imports" ]] || fail "zelo32.exe does not import zelodll.dll"
by_name="$(sed -nE '3,$ s/^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+([A-Za-z_].*)$/\1/p' <<<"$program_imports" |
    grep -v '^<none>$' || true)"
[[ -z "$by_name" ]] || fail "zelo32.exe imports from zelodll.dll by name: $by_name"

echo "windows export check: 80 fixed exports, HM_last_error_text @100, HM_last_file_error_text @101, HM_poll_number @102, HM_poll_stored @103, the group download @104..107, stdcall, version 19; zelo32.exe binds by ordinal; zelodll.dll binds a pendra.dll built to pendra.h by plain names"
