#!/usr/bin/env bash
# Stands in for zelo32 in the end-to-end cases: runs zelo32.exe under Wine on
# the case's line. Wine's COM1 is the link WINE_COM1_LINK (named in Wine's
# registry); this points it at the pseudo-terminal that PENDRA_PORT1 names,
# so the program opens its default \\.\COM1 like on a real PC.
set -euo pipefail
: "${WINE_ZELO32:?path of zelo32.exe}" "${WINE_COM1_LINK:?link that Wine opens as COM1}"
if [[ -n "${PENDRA_PORT1:-}" ]]; then
    ln -sfn "$(readlink -f "$PENDRA_PORT1")" "$WINE_COM1_LINK"
fi
unset PENDRA_PORT1
exec "${WINE:-/usr/lib/wine/wine64}" "$WINE_ZELO32" "$@"
