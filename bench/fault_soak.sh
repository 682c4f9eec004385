#!/usr/bin/env bash
# The long fault soak: 10,000 transfers (every fault, rate and size of
# scripts/soak.sh, over as many seeds as it takes) through the real zelo32
# and zelo-termsim. Prints the failing runs and the figures: transfers,
# bytes, reported failures, silent corruptions, unreported failures, hangs.
# A transfer spends most of its time waiting for the paced line and for
# time-outs, so --jobs runs several soaks side by side, each on its own
# simulated line with its own seeds (seed k goes to job k mod N), and adds
# up their figures. Takes hours with one job; a plain or release build runs
# it several times faster than a sanitizer build.
# Usage: bench/fault_soak.sh [--jobs N] [BIN_DIR] [TRANSFERS]
#        (defaults: 1 job, build/dev/bin, 10000 transfers)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs=1
if [[ "${1:-}" == --jobs ]]; then
    jobs="$2"
    shift 2
fi
[[ "$jobs" =~ ^[1-9][0-9]*$ && "$jobs" -le 16 ]] || { echo "fault_soak.sh: --jobs 1 to 16" >&2; exit 2; }
bin="$(cd "${1:-$root/build/dev/bin}" && pwd)"
transfers="${2:-10000}"

logs="$(mktemp -d "${TMPDIR:-/tmp}/zelo-fault-soak.XXXXXX")"
pids=()
stop_all() { kill -TERM "${pids[@]}" 2>/dev/null || true; }
trap stop_all INT TERM
start=$SECONDS
for ((j = 0; j < jobs; j++)); do
    seeds="$(seq 1 100 | awk -v j="$j" -v n="$jobs" '($1 % n) == j' | tr '\n' ' ')"
    share=$(((transfers + jobs - 1 - j) / jobs)) # the shares add up to the total
    bash "$root/scripts/soak.sh" --bin "$bin" --transfers "$share" --seeds "$seeds" \
        >"$logs/job$j.log" 2>&1 &
    pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done

# Each job's log: its failing runs, then its figures; the totals follow.
cat "$logs"/job*.log
awk -v jobs="$jobs" -v seconds="$((SECONDS - start))" '
    /^soak: [0-9]+ transfers,/ {
        t += $2; b += $4; i += $6; r += $8; s += $11; u += $14; h += $17; o += $19
    }
    /^soak polls:/ { polls++; if ($0 !~ / 0 missing, 0 twice, 0 stray/) bad++ }
    END {
        printf "fault soak, %d jobs: %d transfers, %d bytes, %d byte-identical, %d reported failures, " \
            "%d silent corruptions, %d unreported failures, %d hangs, %d other endings; " \
            "polls exactly once in %d of %d jobs; %d s\n", jobs, t, b, i, r, s, u, h, o, polls - bad, polls, seconds
    }' "$logs"/job*.log
rm -rf "$logs"
exit "$status"
