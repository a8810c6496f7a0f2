#!/usr/bin/env bash
# Makes the hicolor icons of the package from the program's logo (src/resources/logo.png, 96x96).
# Run it again after the logo changes and commit the result; it needs ImageMagick.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
logo=$here/../src/resources/logo.png
for size in 16 22 24 32 48 64 96 128 256; do
  out=$here/icons/hicolor/${size}x${size}/apps
  mkdir -p "$out"
  # Byte-for-byte repeatable: no time stamps, 8 bits per channel.
  convert "$logo" -filter Lanczos -resize "${size}x${size}" -depth 8 -strip \
    -define png:exclude-chunks=date,time "$out/org.velquarn.velquarn.png"
done
