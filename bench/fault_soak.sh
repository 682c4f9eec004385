#!/usr/bin/env bash
# The long fault soak: 10,000 transfers (every fault, rate and size of
# scripts/soak.sh, over as many seeds as it takes) through the real zelo32
# and zelo-termsim. Prints the failing runs and the figures: transfers,
# bytes, reported failures, silent corruptions, unreported failures, hangs.
# Takes hours; a plain or release build runs it several times faster than a
# sanitizer build.
# Usage: bench/fault_soak.sh [BIN_DIR] [TRANSFERS]   (default build/dev/bin 10000)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$root/build/dev/bin}"
transfers="${2:-10000}"
exec bash "$root/scripts/soak.sh" --bin "$bin" --transfers "$transfers" --seeds "$(seq -s ' ' 1 100)"
