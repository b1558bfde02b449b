#!/usr/bin/env bash
# Runs one fuzz target for a bounded time; prints the number of runs, or the end of the log and
# the crash file on a finding (exit status 1). The target starts from the seeds kept in the
# repository (fuzz/corpus/TARGET, made by korv4-graines) and from CORPUS_DIR, where the inputs
# it finds are written (a folder of the build, never the repository).
# Usage: fuzz/lance.sh BUILD_DIR TARGET SECONDS CORPUS_DIR
set -euo pipefail
build=$1 cible=$2 secondes=$3 corpus=$4
ici=$(cd "$(dirname "$0")" && pwd)
graines="$ici/corpus/$cible"
case $cible in
  fuzz_lit_ancien) options=(-max_len=20000 -len_control=0) ;;  # blocks of 1500 bytes
  fuzz_modele) options=(-max_len=8500) ;;                     # a store of 1000 records and a script
  # Scripts of up to 1000 gestures (three bytes each), from the seeds' hundreds on; the
  # dictionary holds every gesture (a click on each control, keys, popup choices...).
  fuzz_editeur) options=(-max_len=3000 -len_control=0 -dict="$ici/fuzz_editeur.dict") ;;
  *) options=() ;;
esac
mkdir -p "$corpus" "$build/artefacts"
dossiers=("$corpus")
[ -d "$graines" ] && dossiers+=("$graines")
journal="$build/$cible.log"
if "$build/fuzz/$cible" -max_total_time="$secondes" -timeout=20 -rss_limit_mb=4096 \
    -artifact_prefix="$build/artefacts/$cible-" "${options[@]}" "${dossiers[@]}" >"$journal" 2>&1; then
  echo "$cible: $(grep -E '^Done [0-9]+ runs' "$journal" | tail -n 1), corpus $(ls "$corpus" | wc -l) entrées"
else
  echo "$cible: ÉCHEC (journal complet : $journal)"
  tail -n 40 "$journal"
  exit 1
fi
