#!/bin/bash
# Read rates of tarn-scan and zbarimg on a degraded set made here with zint
# and ImageMagick: 4 texts at 1, 2 and 3 pixels per module, each blurred,
# noisy, faded, turned or JPEG-compressed. Usage: compare_with_zbar.sh
# [TARN_SCAN], default build/default/host/tarn-scan.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scanner=$(realpath "${1:-$root/build/default/host/tarn-scan}")
magick=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

declare -A damage=(
  [blur-0.7]="-blur 0x0.7" [blur-1.0]="-blur 0x1.0" [blur-1.4]="-blur 0x1.4"
  [noise-0.5]="-attenuate 0.5 +noise Gaussian"
  [noise-1]="-attenuate 1 +noise Gaussian"
  [noise-2]="-attenuate 2 +noise Gaussian"
  [contrast-40]="+level 30%,70%" [contrast-20]="+level 40%,60%"
  [contrast-10]="+level 45%,55%"
  [turn-3]="-background white -rotate 3" [turn-8]="-background white -rotate 8"
  [turn-15]="-background white -rotate 15"
  [jpeg-30]="-quality 30" [jpeg-10]="-quality 10"
  [mixed]="-blur 0x0.8 +level 20%,80% -attenuate 0.7 +noise Gaussian -quality 40"
  [mixed-turn]="-background white -rotate 5 -blur 0x0.6 -attenuate 0.5 +noise Gaussian -quality 50"
)
texts=('CODE39' 'HELLO WORLD-42' 'ABC.123 XYZ' 'TARN 2026')

n=0
for text in "${texts[@]}"; do
  for scale in 0.5 1 1.5; do
    n=$((n + 1))
    zint -b 9 -d "$text" --scale=$scale --quietzones -o clean.png
    for kind in "${!damage[@]}"; do
      # JPEG artefacts reach tarn-scan as the JPEG's pixels in a PNG.
      out=$kind.$n.png
      [[ $kind == jpeg* || $kind == mixed* ]] && out=$kind.$n.jpg
      $magick clean.png -colorspace Gray -seed $n ${damage[$kind]} "$out"
      $magick "$out" -colorspace Gray "$kind.$n.pgm"
      ours=$("$scanner" --json "$kind.$n.pgm" | sed -n 's/.*"text":"\(.*\)","check_char".*/\1/p' || true)
      theirs=$(zbarimg -q --raw -Sdisable -Scode39.enable "$out" 2>/dev/null | head -1 || true)
      echo "$kind $scale $([ "$ours" = "$text" ] && echo 1 || echo 0) $([ "$theirs" = "$text" ] && echo 1 || echo 0)"
    done
  done
done > results

awk '{ ours[$1] += $3; theirs[$1] += $4; all[$1]++; o += $3; t += $4; a++ }
  END {
    printf "%-12s %9s %9s\n", "damage", "tarn-scan", "zbarimg"
    for (k in all) printf "%-12s %6d/%-2d %6d/%-2d\n", k, ours[k], all[k], theirs[k], all[k] | "sort"
    close("sort")
    printf "%-12s %6d/%-3d %5d/%-3d\n", "all", o, a, t, a
  }' results
awk '{ k = $2 * 2; ours[k] += $3; theirs[k] += $4; all[k]++ }
  END { for (k in ours) printf "%d px/module: tarn-scan %d/%d, zbarimg %d/%d\n", k, ours[k], all[k], theirs[k], all[k] }' results | sort
awk '$4 == 1 && $3 == 0 { missed++ } END { printf "read by zbarimg, missed by tarn-scan: %d\n", missed }' results
