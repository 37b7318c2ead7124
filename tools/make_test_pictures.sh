#!/usr/bin/env bash
# Makes the picture files of tests/data/pictures with ImageMagick (and a few bytes patched by
# Python where no tool writes such a file). The outputs are committed; run again only to change
# them.
#
# Most files show one upright picture, 64 x 48, in four quarters:
#   red   | green
#   ------+-------
#   blue  | yellow
# so a test can tell turned or mirrored drawing from the right one.
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)/tests/data/pictures
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# No time stamps or other metadata, so the same tools give the same bytes.
png_opts=(-strip -define png:exclude-chunks=date,time)

quarters() { # WIDTHxHEIGHT of one quarter
    convert \( -size "$1" xc:'#FF0000' xc:'#00FF00' +append \) \
        \( -size "$1" xc:'#0000FF' xc:'#FFFF00' +append \) -append "$2"
}

quarters 32x24 "$work/upright.png"
convert "$work/upright.png" "${png_opts[@]}" PNG24:"$out/picture.png"
convert "$work/upright.png" -strip -quality 95 JPEG:"$out/picture.jpg"
convert "$work/upright.png" -strip BMP3:"$out/picture.bmp"
convert "$work/upright.png" -strip -alpha set -define bmp3:alpha=true BMP3:"$out/picture32.bmp"
convert "$work/upright.png" -strip GIF:"$out/picture.gif"

# A photo as a camera held upright-right stores it: pixels turned a quarter anticlockwise and
# EXIF orientation 6, which says "turn clockwise to show". ImageMagick's JPEG writer only
# updates an EXIF block that is already there, so a neutral one is put in first.
convert "$work/upright.png" -rotate -90 -strip -quality 95 JPEG:"$work/stored.jpg"
python3 - "$work/stored.jpg" "$work/neutral.jpg" <<'EOF'
import struct, sys
data = open(sys.argv[1], 'rb').read()
tiff = b'MM' + struct.pack('>HIH', 42, 8, 1) + struct.pack('>HHIHH', 0x0112, 3, 1, 1, 0) + bytes(4)
exif = b'Exif\0\0' + tiff
open(sys.argv[2], 'wb').write(data[:2] + b'\xff\xe1' + struct.pack('>H', len(exif) + 2) + exif + data[2:])
EOF
convert "$work/neutral.jpg" -orient RightTop -quality 95 JPEG:"$out/rotated6.jpg"
test "$(identify -format '%[orientation]' "$out/rotated6.jpg")" = RightTop

# Large in pixels, tiny on disk: for bounded memory and large draws.
quarters 800x600 "$work/large.png"
convert "$work/large.png" "${png_opts[@]}" PNG24:"$out/large.png"

# Files that must be refused without harm.
head -c "$(($(stat -c %s "$out/picture.png") / 2))" "$out/picture.png" >"$out/truncated.png"
printf 'This is a text file, not a picture.\r\n' >"$out/not_a_picture.png"
# A PNG whose header claims 100000 x 100000 pixels: 40 GB if anyone believed it.
convert -size 1x1 xc:white "${png_opts[@]}" PNG24:"$work/one.png"
python3 - "$work/one.png" "$out/huge_header.png" <<'EOF'
import struct, sys, zlib
data = bytearray(open(sys.argv[1], 'rb').read())
assert data[12:16] == b'IHDR'
data[16:24] = struct.pack('>II', 100000, 100000)
data[29:33] = struct.pack('>I', zlib.crc32(bytes(data[12:29])))
open(sys.argv[2], 'wb').write(data)
EOF
# A JPEG whose frame header claims 60000 x 60000: some decoders allocate for that at once.
python3 - "$out/picture.jpg" "$out/huge_header.jpg" <<'EOF'
import struct, sys
data = bytearray(open(sys.argv[1], 'rb').read())
pos = 2
while data[pos + 1] not in (0xC0, 0xC1, 0xC2):
    pos += 2 + struct.unpack('>H', data[pos + 2:pos + 4])[0]
data[pos + 5:pos + 9] = struct.pack('>HH', 60000, 60000)
open(sys.argv[2], 'wb').write(data)
EOF
ls -l "$out"
