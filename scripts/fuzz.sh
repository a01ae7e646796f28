#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ (clang, with the address and
# undefined-behaviour sanitizers) and runs each for a given time, seeded with
# HEX files that fwgen makes at run time and with the tree's machine files.
#   scripts/fuzz.sh TARGET SECONDS     TARGET: hex_loader, machine_file or all
# The growing corpus stays in build-fuzz/corpus/TARGET/; a finding is written
# to build-fuzz/findings/TARGET/ and makes the script exit non-zero.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/deps.sh
source "$root/scripts/deps.sh"

usage() {
  echo "usage: scripts/fuzz.sh hex_loader|machine_file|all SECONDS" >&2
  exit 2
}
[ "$#" -eq 2 ] || usage
case "$1" in
  hex_loader | machine_file) targets=("$1") ;;
  all) targets=(hex_loader machine_file) ;;
  *) usage ;;
esac
seconds="$2"
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || usage

DVDUTIL_PACKAGES+=(clang libclang-rt-14-dev)
dvdutil_install_deps

build="${DVDUTIL_FUZZ_BUILD_DIR:-$root/build-fuzz}"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DDVDUTIL_BUILD_FUZZ=ON -DDVDUTIL_BUILD_GUI=OFF -DDVDUTIL_BUILD_TESTS=OFF \
  -DDVDUTIL_BUILD_BENCH=OFF -DDVDUTIL_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target fwgen "${targets[@]/%/_fuzz}"

# Seeds: the start (identity and info blocks) and the end (tail blocks, the
# 0x5000 segment, the end record) of each model's file, CR LF and LF, and
# broken variants; the machine files of the tree and the documented example.
make_seeds() {
  local target="$1" seeds="$2"
  rm -rf "$seeds"
  mkdir -p "$seeds"
  case "$target" in
    hex_loader)
      local model hex n=0
      hex="$seeds/full.hex"
      while read -r model _; do
        for options in "" "--lf" "--broken truncated" "--broken no-identity"; do
          # shellcheck disable=SC2086
          "$build/tools/fwgen/fwgen" --model "$model" $options "$hex" >/dev/null
          head -n 300 "$hex" >"$seeds/head-$n.hex"
          tail -n 300 "$hex" >"$seeds/tail-$n.hex"
          n=$((n + 1))
        done
      done < <("$build/tools/fwgen/fwgen" --list)
      rm -f "$hex"
      ;;
    machine_file)
      cp "$root"/emulator/machines/*.json "$seeds/"
      sed -n '/^```json$/,/^```$/{/^```/d;p}' "$root/emulator/MACHINE_FILE.md" >"$seeds/example.json"
      ;;
  esac
}

status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  seeds="$build/seeds/$target"
  findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  make_seeds "$target" "$seeds"
  log="$findings/fuzz.log"
  echo "== $target: ${seconds}s (log: $log)"
  if (cd "$findings" && ASAN_OPTIONS="detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1" \
    "$build/fuzz/${target}_fuzz" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
    -rss_limit_mb=2048 -print_funcs=0 -print_final_stats=1 -dict="$root/fuzz/$target.dict" \
    "$corpus" "$seeds") >"$log" 2>&1; then
    grep -E "^(Done|stat::(number_of_executed_units|new_units_added))" "$log" || true
  else
    tail -n 60 "$log" >&2
    echo "== $target: a finding, see $findings" >&2
    status=1
  fi
done
exit "$status"
