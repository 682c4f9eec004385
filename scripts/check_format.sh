#!/usr/bin/env bash
# Checks that every C and C++ file in the repository is laid out as
# .clang-format says; prints the files that are not. Fix with
#   git ls-files '*.cpp' '*.hpp' '*.h' '*.c' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.hpp' '*.h' '*.c')
# One clang-format for every file when all of them pass (the usual case);
# file by file only to name the ones that do not.
if clang-format --dry-run --Werror "${files[@]}" >/dev/null 2>&1; then
    echo "format check: ${#files[@]} files follow .clang-format"
    exit 0
fi
unformatted=()
for file in "${files[@]}"; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [[ ${#unformatted[@]} -gt 0 ]]; then
    echo "format check: ${#unformatted[@]} of ${#files[@]} files differ from .clang-format:"
    printf '  %s\n' "${unformatted[@]}"
    exit 1
fi
echo "format check: ${#files[@]} files follow .clang-format"
