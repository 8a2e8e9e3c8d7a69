#!/usr/bin/env bash
# Measures records lost by erases beside a lesson that keeps RECORDS.DAT open
# and appends about 1,000 records a second, with the file owned by another
# account: no write lease can be had, so each erase's last look and its cut
# are two system calls apart. Prints the losses per 1,000 erases.
# usage: tools/no-lease-figure.sh [ERASES [PAUSE_US]]   (after a build; as root)
set -euo pipefail
cd "$(dirname "$0")/.."
erases=${1:-1000}
pause=${2:-1000}   # microseconds between appends: 1000 is about 1,000 a second
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
./build/make_sample_folder --seed 1 "$dir" >/dev/null
: > "$dir/RECORDS.DAT"
chown 4321:4321 "$dir/RECORDS.DAT" && chmod 666 "$dir/RECORDS.DAT"
count=100000000  # runs until the erases are done
./build/tests/lesson_simulator "$dir/RECORDS.DAT" "$count" "1 " "98" "$pause" open &
lesson=$!
failed=0
for ((n = 0; n < erases; n++)); do
  printf 'C11 970101260101000000000' >> "$dir/RECORDS.DAT"  # one record to erase each time
  ./build/quillon-cli --folder "$dir" erase --class 1 --student 97 --yes >/dev/null || failed=$((failed + 1))
done
kill "$lesson"
wait "$lesson" || true
echo "$failed of $erases erases gave up (undone, nothing removed)"
python3 - "$dir/RECORDS.DAT" "$erases" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
records = [data[i:i + 25] for i in range(0, len(data) - len(data) % 25, 25)]
lesson = [int(r[16:25]) for r in records if r[:6] == b"C11 98"]
stray = len(data) % 25
written = max(lesson) if lesson else 0  # the last one the lesson wrote
lost = written - len(set(lesson))
doubled = len(lesson) - len(set(lesson))
print(f"{int(sys.argv[2])} erases beside {written} appended records: {lost} lost, {doubled} doubled, "
      f"{stray} stray bytes; {1000 * lost / int(sys.argv[2]):.1f} lost per 1,000 erases")
PY
