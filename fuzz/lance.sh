#!/usr/bin/env bash
# Runs one fuzz target for a bounded time on its corpus folder; prints the number of runs, or
# the end of the log and the crash file on a finding (exit status 1).
# Usage: fuzz/lance.sh BUILD_DIR TARGET SECONDS CORPUS_DIR
set -euo pipefail
build=$1 cible=$2 secondes=$3 corpus=$4
case $cible in
  fuzz_lit_ancien) options=(-max_len=20000 -len_control=0) ;;  # blocks of 1500 bytes
  fuzz_modele) options=(-max_len=8500) ;;                     # a store of 1000 records and a script
  fuzz_editeur) options=(-max_len=1500) ;;                     # 500 gestures
  *) options=() ;;
esac
mkdir -p "$corpus" "$build/artefacts"
journal="$build/$cible.log"
if "$build/fuzz/$cible" -max_total_time="$secondes" -timeout=20 -rss_limit_mb=4096 \
    -artifact_prefix="$build/artefacts/$cible-" "${options[@]}" "$corpus" >"$journal" 2>&1; then
  echo "$cible: $(grep -E '^Done [0-9]+ runs' "$journal" | tail -n 1), corpus $(ls "$corpus" | wc -l) entrées"
else
  echo "$cible: ÉCHEC (journal complet : $journal)"
  tail -n 40 "$journal"
  exit 1
fi
