#!/usr/bin/env bash
# The manual page of quarmel-batch, built from its template, must keep up with its --help: every
# option, format, algorithm and setting with its range that --help names must appear in the
# rendered page.
# Usage: check-batch-page.sh QUARMEL_BATCH PAGE
set -euo pipefail
batch=$1
page=$2

help=$("$batch" --help)
rendered=$(MANWIDTH=1000 man --warnings -l "$page" 2>&1)
if grep -q "warning" <<<"$rendered"; then
  echo "$page: groff warnings:" && grep "warning" <<<"$rendered"
  exit 1
fi

options=$(grep -oE -- '--[a-z]+' <<<"$help" | sort -u)
settings=$(grep -oE '[A-Za-z][A-Za-z0-9]* \([0-9.e+-]+\.\.[0-9.e+-]+, start [0-9.e+-]+\)' <<<"$help" | sort -u)
# The formats and the algorithms: the first word of each entry of their sections.
formats=$(sed -n '/^Formats/,/^[A-Z]/s/^  \([a-z][a-z]*\).*/\1/p' <<<"$help" | sort -u)
algorithms=$(sed -n '/^Algorithms/,/^Settings/s/^  \([a-z][a-z]*\) .*/\1/p' <<<"$help" | sort -u)
# Nothing found means --help changed its layout: this check must then be brought up to date.
[[ -n "$options" && -n "$settings" && -n "$formats" && -n "$algorithms" ]] ||
  { echo "no options, settings, formats or algorithms found in --help"; exit 1; }

missing=0
while IFS= read -r item; do
  if ! grep -qF -- "$item" <<<"$rendered"; then
    echo "$page does not mention: $item"
    missing=1
  fi
done <<<"$options"$'\n'"$settings"
# Names as whole words: "de" must stand alone, not inside another word.
while IFS= read -r name; do
  if ! grep -qwF -- "$name" <<<"$rendered"; then
    echo "$page does not name: $name"
    missing=1
  fi
done <<<"$formats"$'\n'"$algorithms"
exit $missing
