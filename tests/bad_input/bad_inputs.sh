#!/bin/bash
# The bad-input table: tarn-scan on hostile and broken inputs (made by
# make_bad_inputs.sh), each run under a time limit and a memory limit
# (ulimit -v; in the sanitizer build, whose shadow memory ulimit -v forbids,
# AddressSanitizer's hard_rss_limit_mb). Each row asserts the exit status,
# the one error line (or what standard output holds), and the peak resident
# memory, measured by GNU time.
# Usage: bad_inputs.sh TARN_SCAN FILES_DIR SAMPLES_DIR SANITIZED(0|1)
set -uo pipefail
scan=$1 files=$2 samples=$3 sanitized=$4
"$(dirname "$0")/make_bad_inputs.sh" "$files" "$samples" || exit 1
cd "$files" || exit 1
truncate -s 2G sparse-2g.png
mkdir -p folder.png
ln -sf loop.png loop.png
# Sanitizers slow the program and hold freed memory in quarantine.
if [ "$sanitized" = 1 ]; then slower=4 extra=200; else slower=1 extra=0; fi
export scan samples
failures=0

# row EXIT MB "TEXT" 'COMMAND' ["OUTPUT"]: when EXIT is 2, standard error is
# the one line "tarn-scan: ...TEXT...", else it is empty and TEXT is on
# standard output, as OUTPUT always is. MB bounds the peak memory; every row
# ends within 5 seconds.
row() {
  local exit=$1 megabytes=$2 text=$3 command=$4 output=${5:-}
  local limit=$((megabytes * slower + extra)) seconds=$((5 * slower))
  local status err out peak elapsed problem=""
  (
    if [ "$sanitized" = 1 ]; then
      export ASAN_OPTIONS="${ASAN_OPTIONS:-}:hard_rss_limit_mb=$((limit * 2))"
    else
      ulimit -v $((limit * 4096 + 1048576))
    fi
    /usr/bin/time -f '%M %e' -o usage timeout $((seconds * 2)) \
      sh -c "$command" >out 2>err
  )
  status=$?
  err=$(cat err) out=$(cat out)
  read -r peak elapsed < <(tail -n 1 usage)
  [ "$status" = "$exit" ] || problem="exit $status, not $exit"
  if [ "$exit" = 2 ]; then
    [ "$(wc -l < err)" = 1 ] && [[ "$err" == "tarn-scan: "*"$text"* ]] ||
      problem="$problem; error output not one line with '$text'"
  else
    [ -z "$err" ] && [[ "$out" == *"$text"* ]] ||
      problem="$problem; no '$text' in the output, or errors"
  fi
  [[ "$out" == *"$output"* ]] || problem="$problem; no '$output' in the output"
  [ "$((peak / 1024))" -le "$limit" ] ||
    problem="$problem; peak $((peak / 1024)) MB, more than $limit MB"
  [ "${elapsed%.*}" -lt "$seconds" ] ||
    problem="$problem; $elapsed s, $seconds s or more"
  if [ -n "$problem" ]; then
    failures=$((failures + 1))
    printf 'FAILED %s: %s\n  stderr: %s\n' "$command" "${problem#; }" "$err"
  else
    printf 'ok %4d MB %5s s  %s\n' $((peak / 1024)) "$elapsed" "$command"
  fi
}

# Empty, cut and unreadable files.
row 2 30 "empty.png: empty file" '$scan empty.png'
row 2 30 "/dev/null: empty file" '$scan /dev/null'
row 2 30 "-: empty file" '$scan - < /dev/null'
row 2 30 "truncated PNG image: no IEND chunk" '$scan cut-1.png'
row 2 30 "truncated PNG image: no IEND chunk" '$scan cut-12.png'
row 2 30 "truncated PNG image: no IEND chunk" '$scan cut-40.png'
row 2 30 "Premature end of JPEG file" '$scan cut-half.jpg'
row 2 30 "cut-half.tif:2: bad TIFF image" '$scan cut-half.tif'
row 2 30 "cut-4.tif:2: truncated TIFF image: the file ends inside page 2" \
  '$scan cut-4.tif'
row 2 30 "folder.png: Is a directory" '$scan folder.png'
row 2 30 "Too many levels of symbolic links" '$scan loop.png'
# Inputs without end, or larger than the limit.
row 2 30 "/dev/zero: not an image or edge file: binary data" '$scan /dev/zero'
row 2 30 "text beginning \"y\"" 'yes | $scan -'
row 2 30 "file too large: 2048 MB, more than the limit of 256 MB" \
  '$scan sparse-2g.png'
row 2 30 "file too large: more than the limit of 8 MB" \
  '(printf "II*\0"; head -c 20000000 /dev/zero) | $scan --max-file-mb 8 -'
row 2 30 "edge file of more than 100000 lines" 'yes 1 | $scan -'
row 2 30 "edge file of more than 1000000 positions" \
  'yes "$(seq -s " " 1000)" | $scan -'
# Headers that promise more than the file holds: refused before the pixels
# are allocated.
row 2 30 "image too large: 100000 x 100000" '$scan huge-100000.png'
row 2 30 "88 bytes cannot hold 8192 x 8192 pixels" '$scan no-data-8192.png'
row 2 30 "0 bytes cannot hold 8192 x 8192 pixels" '$scan no-data-8192.pgm'
row 2 30 "140 bytes cannot hold 8192 x 8192 pixels" '$scan no-data-8192.jpg'
row 2 30 "146 bytes cannot hold" '$scan progressive-8192.jpg'
row 2 30 "progressive JPEG image too large: 8192 x 8192 pixels take 192 MB" \
  '$scan progressive-padded-8192.jpg'
row 2 30 "page's data lies beyond the end of the file" '$scan no-data-8192.tif'
row 2 30 "no-data-deflate-8192.tif: bad TIFF image" \
  '$scan no-data-deflate-8192.tif'
row 2 30 "tiles of 64 MB, more than the limit of 48 MB" '$scan one-tile-8192.tif'
row 2 30 "67108864 pixels a row, the limit is 4194304" '$scan one-row.tif'
row 2 30 "no-data-100-pages.tif:1-100: truncated TIFF image" \
  '$scan -j 8 no-data-100-pages.tif'
row 2 30 "more than 1000 pages, the page limit" '$scan no-data-10000-pages.tif'
# Pages of 8192 x 8192 in a few kilobytes read in about one byte a pixel.
row 1 100 "blank-8192-g4.tif: no symbol read" '$scan blank-8192-g4.tif'
row 1 100 "blank-8192.png: no symbol read" '$scan blank-8192.png'
# Files of other kinds, named for what they look like.
row 2 30 "not an image or edge file: binary data" '$scan noise.bin'
row 2 30 "not an image or edge file: it looks like SVG" '$scan drawing.svg'
row 2 30 "not an image or edge file: it looks like EPS" '$scan figure.eps'
row 2 30 "it looks like an XPM image" '$scan icon.xpm'
row 2 30 "floating-point samples are not supported" '$scan float.tif'
# PDF and WebP, broken; the other files still read.
row 2 30 "cut-half.pdf: truncated PDF document: no %%EOF at its end" \
  '$scan cut-half.pdf'
row 2 30 "PDF document of 10000 pages, more than the limit of 1000" \
  '$scan pages-10000.pdf'
row 2 30 "encrypted.pdf: encrypted PDF document: it needs a password" \
  '$scan encrypted.pdf'
row 2 30 "huge-page.pdf: image too large: 60000 x 60000 pixels" \
  '$scan huge-page.pdf'
row 2 30 "cut-half.webp: truncated WebP image" \
  '$scan cut-half.webp $samples/labels.pdf $samples/webp-photo.webp' \
  '"WebP photo"'
row 0 30 '"edge-file"' '$scan bom.edges'
# Pipes: read as they come, a TIFF copied to a temporary file first.
row 0 30 '-:2: "Page two"' 'cat $samples/two-pages.tif | $scan -'
row 0 30 '-: "right 2"' 'cat $samples/two-symbols.png | $scan -'
# Output that cannot be written; a file whose every page fails keeps its
# object in JSON; valid files in a batch with hostile ones still read, and
# large pages take turns whatever -j says.
row 2 30 "cannot write the report: No space left on device" \
  '$scan $samples/quarter-turn.png > /dev/full'
row 2 30 "cannot write the report: No space left on device" \
  '$scan --json $samples/quarter-turn.png > /dev/full'
row 2 30 "no-data-100-pages.tif:1-100: truncated TIFF image" \
  '$scan --json no-data-100-pages.tif' \
  '{"file":"no-data-100-pages.tif","symbols":[]}'
row 2 100 "noise.bin: not an image or edge file" \
  '$scan -j 2 blank-8192-g4.tif $samples/quarter-turn.png noise.bin \
     blank-8192.png' '"Quarter turn" at 25,166 angle 270 (7/7 lines)'

echo "$failures failed"
[ "$failures" = 0 ]
