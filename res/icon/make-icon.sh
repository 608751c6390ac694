#!/bin/sh
# Draws the Tomel icon (a text card with a play badge) with ImageMagick and packs it into res/tomel.ico.
#
#   res/icon/make-icon.sh [output.ico]
#
# Every size is drawn on its own, 16 times (4 times for 256) larger than it ends up, and scaled down by
# whole-pixel averaging. The small sizes have their own layouts on the pixel grid, so that their edges stay
# sharp; 48, 64 and 256 are the large layout, scaled. Set ICON_PNG_DIR to keep the PNGs of the single sizes.
# The 256 image is stored PNG-compressed inside the .ico (ImageMagick does that for 256 by itself); the others
# are 32-bit images with alpha.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$(dirname "$here")/tomel.ico"}
command -v convert >/dev/null 2>&1 || { echo "make-icon: ImageMagick 'convert' is needed" >&2; exit 1; }

if [ -n "${ICON_PNG_DIR:-}" ]; then
  work=$ICON_PNG_DIR
  mkdir -p "$work"
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi

# Colours.
OUTLINE='#1D3557'
CARD='#FFFFFF'
HEADER='#2F6FBF'
TITLE='#D6E4F5'
LINES='#7F8EA5'
RING='#FFFFFF'
RIM='#B85A08'
BADGE='#F08A1C'
ARROW='#FFFFFF'

# Geometry of one size, in pixels of that size (x grows right, y down; rectangles by their outer edges).
#   card: x0 y0 x1 y1 corner-radius outline; header: bottom edge; title: x0 y0 x1 y1 (0 0 0 0 for none)
#   lines: "x0 y0 x1 y1" each; badge: centre x y, ring radius, rim radius, face radius;
#   arrow: three corners; shadow: offset and blur (0 for none)
geometry() {
  case $1 in
    16)
      echo "card 1 0 13 16 2 1"
      echo "header 4"
      echo "title 0 0 0 0"
      echo "line 3 6 11 7"
      echo "line 3 8 11 9"
      echo "line 3 10 7 11"
      echo "badge 12 12 5 4 4"
      echo "arrow 10.2 9.2 10.2 14.8 14.9 12"
      echo "shadow 0 0"
      ;;
    24)
      echo "card 1 0 19 24 3 2"
      echo "header 6"
      echo "title 0 0 0 0"
      echo "line 5 8 15 10"
      echo "line 5 12 15 14"
      echo "line 5 16 10 18"
      echo "badge 17.5 17.5 6.5 5.2 5.2"
      echo "arrow 15.3 14.3 15.3 20.7 21 17.5"
      echo "shadow 0 0"
      ;;
    32)
      echo "card 3 1 25 31 4 2"
      echo "header 9"
      echo "title 0 0 0 0"
      echo "line 7 12 21 14"
      echo "line 7 16 21 18"
      echo "line 7 20 14 22"
      echo "badge 23 23 8.5 7 7"
      echo "arrow 20.3 19 20.3 27 27.6 23"
      echo "shadow 0 0"
      ;;
    *)
      # The large layout, designed on a 256 grid; edges are rounded to whole pixels of the target size.
      awk -v s="$1" 'function e(v) { return int(v * s / 256 + 0.5) }
        function f(v) { return v * s / 256 }
        BEGIN {
          t = f(10); if (t < 2) t = 2
          printf "card %d %d %d %d %.3f %.3f\n", e(22), e(8), e(198), e(244), f(26), t
          printf "header %d\n", e(68)
          printf "title %d %d %d %d\n", e(48), e(30), e(128), e(44)
          printf "line %d %d %d %d\n", e(48), e(92), e(174), e(106)
          printf "line %d %d %d %d\n", e(48), e(122), e(174), e(136)
          printf "line %d %d %d %d\n", e(48), e(152), e(174), e(166)
          printf "line %d %d %d %d\n", e(48), e(182), e(112), e(196)
          printf "badge %.3f %.3f %.3f %.3f %.3f\n", f(190), f(190), f(64), f(56), f(50)
          printf "arrow %.3f %.3f %.3f %.3f %.3f %.3f\n", f(172), f(160), f(172), f(220), f(221), f(190)
          printf "shadow %.3f %.3f\n", f(5), f(6)
        }'
      ;;
  esac
}

# Turns a geometry into ImageMagick draw primitives on a canvas k times the size. A pixel edge e of the
# target lies at k*e on the canvas; ImageMagick fills a rectangle from the first to the last pixel named, so
# the far edges are drawn at k*e - 1, and circles and corners are moved by half a canvas pixel to match.
primitives() {
  awk -v k="$2" -v part="$3" \
      -v outline="$OUTLINE" -v card="$CARD" -v header="$HEADER" -v title="$TITLE" -v lines="$LINES" \
      -v ring="$RING" -v rim="$RIM" -v badge="$BADGE" -v arrow="$ARROW" '
    function rect(c, x0, y0, x1, y1, r) {
      # A corner radius of 0 makes roundrectangle draw nothing at all.
      if (r <= 0) printf "fill \"%s\" rectangle %.2f,%.2f %.2f,%.2f\n", c, k * x0, k * y0, k * x1 - 1, k * y1 - 1
      else printf "fill \"%s\" roundrectangle %.2f,%.2f %.2f,%.2f %.2f,%.2f\n", c, k * x0, k * y0, k * x1 - 1, k * y1 - 1, k * r, k * r
    }
    function disc(c, x, y, r) {
      printf "fill \"%s\" ellipse %.2f,%.2f %.2f,%.2f 0,360\n", c, k * x - 0.5, k * y - 0.5, k * r - 0.5, k * r - 0.5
    }
    $1 == "card"   { cx0 = $2; cy0 = $3; cx1 = $4; cy1 = $5; cr = $6; ot = $7 }
    $1 == "header" { hb = $2 }
    $1 == "title"  { tx0 = $2; ty0 = $3; tx1 = $4; ty1 = $5 }
    $1 == "line"   { n++; lx0[n] = $2; ly0[n] = $3; lx1[n] = $4; ly1[n] = $5 }
    $1 == "badge"  { bx = $2; by = $3; rr = $4; rm = $5; rf = $6 }
    $1 == "arrow"  { ax1 = $2; ay1 = $3; ax2 = $4; ay2 = $5; ax3 = $6; ay3 = $7 }
    END {
      if (part == "shadow") { rect("black", cx0, cy0, cx1, cy1, cr); disc("black", bx, by, rr); exit }
      # The card: outline, white face, and a coloured header whose lower corners are squared off again.
      rect(outline, cx0, cy0, cx1, cy1, cr)
      ir = cr - ot
      rect(card, cx0 + ot, cy0 + ot, cx1 - ot, cy1 - ot, ir)
      rect(header, cx0 + ot, cy0 + ot, cx1 - ot, hb + ir + 1, ir)
      rect(card, cx0 + ot, hb, cx1 - ot, hb + ir + 2, 0)
      if (tx1 > tx0) rect(title, tx0, ty0, tx1, ty1, (ty1 - ty0) / 2)
      # The text lines, with round ends where they are more than a pixel thick.
      for (i = 1; i <= n; i++) {
        h = ly1[i] - ly0[i]
        rect(lines, lx0[i], ly0[i], lx1[i], ly1[i], h > 1 ? h / 2 : 0)
      }
      # The play badge: a white ring that parts it from the card, a darker rim and the face.
      disc(ring, bx, by, rr)
      if (rm > rf) disc(rim, bx, by, rm)
      disc(badge, bx, by, rf)
      printf "fill \"%s\" polygon %.2f,%.2f %.2f,%.2f %.2f,%.2f\n", arrow,
        k * ax1 - 0.5, k * ay1 - 0.5, k * ax2 - 0.5, k * ay2 - 0.5, k * ax3 - 0.5, k * ay3 - 0.5
    }'
}

# The PNG coder would otherwise stamp times into the files, and the .ico would change on every run.
nostamp=png:exclude-chunks=date,time

for size in 16 24 32 48 64 256; do
  if [ "$size" = 256 ]; then k=4; else k=16; fi
  big=$((size * k))
  geometry "$size" > "$work/geometry-$size.txt"
  draw=$(primitives "$size" "$k" icon < "$work/geometry-$size.txt")
  read -r offset blur <<EOF
$(awk '$1 == "shadow" { print $2, $3 }' "$work/geometry-$size.txt")
EOF
  if [ "$blur" = 0 ]; then
    convert -size "${big}x${big}" xc:none -draw "$draw" \
      -filter box -resize "${size}x${size}" -strip -depth 8 -define "$nostamp" "PNG32:$work/tomel-$size.png"
  else
    # A soft shadow down and to the right, under the card and the badge.
    shadow=$(primitives "$size" "$k" shadow < "$work/geometry-$size.txt")
    move=$(awk -v o="$offset" -v k="$k" 'BEGIN { printf "%+d%+d", o * k, o * k }')
    sigma=$(awk -v b="$blur" -v k="$k" 'BEGIN { printf "%.2f", b * k / 2 }')
    convert -size "${big}x${big}" xc:none \
      \( -size "${big}x${big}" xc:none -draw "$shadow" -channel A -evaluate multiply 0.30 +channel \
         -repage "$move" -background none -flatten -blur "0x$sigma" \) -compose over -composite \
      \( -size "${big}x${big}" xc:none -draw "$draw" \) -compose over -composite \
      -filter box -resize "${size}x${size}" -strip -depth 8 -define "$nostamp" "PNG32:$work/tomel-$size.png"
  fi
done

convert "$work/tomel-16.png" "$work/tomel-24.png" "$work/tomel-32.png" "$work/tomel-48.png" \
  "$work/tomel-64.png" "$work/tomel-256.png" -define "$nostamp" "$out"
echo "make-icon: wrote $out"
