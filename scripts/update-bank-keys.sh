#!/bin/sh
# Adds the keys that are new to the sample bank to the list of the release's
# keys (tests/tools/bank-keys/release-keys.csv), each with the first line of
# its question; the rows already listed stay as they are.
#   scripts/update-bank-keys.sh [path to mireto_bank, default build/bin/mireto_bank]
set -eu
cd "$(dirname "$0")/.."
tool=${1:-build/bin/mireto_bank}
list=tests/tools/bank-keys/release-keys.csv
now=$(mktemp)
trap 'rm -f "$now"' EXIT
"$tool" keys sample/bank/*.csv > "$now"
# A key is digits only and the first field, so a comma ends it.
before=$(wc -l < "$list")
awk -F, 'NR == FNR { listed[$1] = 1; next } FNR > 1 && !($1 in listed)' "$list" "$now" >> "$list"
echo "$list: $(( $(wc -l < "$list") - before )) keys added"
