#!/usr/bin/env bash
# Soak runs of tiltlink-cli against tiltlink-sim with its faults on, as a user would run them.
# Prints what it saw; exit 1 when something was lost or wrong.
#   bench/soak_cli.sh BUILD_DIR [records] [KiB]
# readback: 60 000 records in pages of 255, 10% of the pages with a bad CRC, 2% not sent;
# upgrade: a 256 KiB image, 10% of the acknowledgements lost, 5% checksum errors.
set -uo pipefail
build=${1:?build folder}
records=${2:-60000}
kib=${3:-256}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
status=0

"$build/tiltlink-sim" --link "$work/rb" --records "$records" --page-size 255 \
  --fault bad-page --fault drop-page --seed 7 >/dev/null 2>&1 &
sleep 1
start=$(date +%s%N)
"$build/tiltlink-cli" readback --port "$work/rb" --retries 1000 --out "$work/r.csv" \
  2>"$work/rb.err" >/dev/null
code=$?
ms=$(( ($(date +%s%N) - start) / 1000000 ))
retries=$(grep -c "asking again" "$work/rb.err")
# Every record once, in order: record n is 2026-01-01 00:00 UTC plus n minutes.
check=$(/usr/bin/python3 - "$work/r.csv" "$records" <<'PY'
import csv, datetime, sys
rows = list(csv.reader(open(sys.argv[1], encoding='utf-8-sig')))[1:]
base = datetime.datetime(2026, 1, 1)
wrong = sum(1 for n, row in enumerate(rows, 1)
            if row[0] + ' ' + row[1] != (base + datetime.timedelta(minutes=n)).strftime('%Y-%m-%d %H:%M:%S'))
print(len(rows), wrong)
PY
)
read -r rows wrong <<<"$check"
verdict=OK
[ "$code" = 0 ] && [ "$rows" = "$records" ] && [ "$wrong" = 0 ] || { verdict=FAULT; status=1; }
printf 'soak cli readback: %s records, 10%% bad pages, 2%% dropped pages: %s ms, exit %s, %s pages asked for again after a time-out, %s rows, %s out of order -> %s\n' \
  "$records" "$ms" "$code" "$retries" "$rows" "$wrong" "$verdict"

"$build/tiltlink-ovx" --version TL#S1#V1.0.3 --width 4 --command 30 --size $((kib * 1024)) --seed 3 -o "$work/fw.ovx" >/dev/null
"$build/tiltlink-ovx" --decode "$work/fw.ovx" --image-out "$work/sent.bin" >/dev/null
"$build/tiltlink-sim" --link "$work/up" --fault lost-ack --fault checksum-error --seed 11 \
  --image-out "$work/got.bin" >/dev/null 2>&1 &
sleep 1
start=$(date +%s%N)
"$build/tiltlink-cli" upgrade "$work/fw.ovx" --port "$work/up" 2>/dev/null >/dev/null
code=$?
ms=$(( ($(date +%s%N) - start) / 1000000 ))
sleep 0.5
exact=no
cmp -s "$work/sent.bin" "$work/got.bin" && exact=yes
verdict=OK
[ "$code" = 0 ] && [ "$exact" = yes ] || { verdict=FAULT; status=1; }
printf 'soak cli upgrade: %s KiB, 10%% acknowledgements lost, 5%% checksum errors: %s ms, exit %s, image byte-exact: %s -> %s\n' \
  "$kib" "$ms" "$code" "$exact" "$verdict"
exit $status
