#!/usr/bin/env bash
# The guide for the office: cmake/make-guide.sh SHOTS_DIR VERSION OUT_HTML
# writes one self-contained HTML file (UTF-8, CSS inline, every screenshot
# embedded as a data: URI) from docs/guide/INSTRUKCJA.html.in: "@VERSION@"
# becomes VERSION, "@IMG:name.png@" the PNG SHOTS_DIR/name.png (made by
# cmake/guide-shots.sh). The PNGs are embedded without their ancillary
# chunks (time stamps, text, background colour), so that the same pixels
# give the same file byte for byte on every run.
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: cmake/make-guide.sh SHOTS_DIR VERSION OUT_HTML" >&2
  exit 2
fi
template=$(cd "$(dirname "$0")/.." && pwd)/docs/guide/INSTRUKCJA.html.in

python3 - "$template" "$1" "$2" "$3" <<'PY'
import base64, os, re, struct, sys

template, shots, version, out = sys.argv[1:5]

# Chunks that carry pixels or change how they look; all others are dropped.
KEPT = {b"IHDR", b"PLTE", b"IDAT", b"IEND", b"tRNS", b"gAMA", b"cHRM", b"sRGB", b"iCCP", b"sBIT"}
SIGNATURE = b"\x89PNG\r\n\x1a\n"

def stripped(path):
    data = open(path, "rb").read()
    if not data.startswith(SIGNATURE):
        sys.exit(f"make-guide: not a PNG: {path}")
    kept, at = [SIGNATURE], len(SIGNATURE)
    while at < len(data):
        (length,) = struct.unpack(">I", data[at:at + 4])
        chunk = data[at:at + 12 + length]
        if len(chunk) != 12 + length:
            sys.exit(f"make-guide: a PNG cut short: {path}")
        if chunk[4:8] in KEPT:
            kept.append(chunk)
        at += 12 + length
    return b"".join(kept)

def image(match):
    path = os.path.join(shots, match.group(1))
    if not os.path.isfile(path):
        sys.exit(f"make-guide: no screenshot {path} (made by cmake/guide-shots.sh)")
    return "data:image/png;base64," + base64.b64encode(stripped(path)).decode("ascii")

text = open(template, encoding="utf-8").read()
text = text.replace("@VERSION@", version)
text = re.sub(r"@IMG:([A-Za-z0-9._-]+\.png)@", image, text)
left = re.search(r"@[A-Z]+[:@]", text)
if left:
    sys.exit(f"make-guide: a placeholder left in the template: {left.group(0)}")
os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
with open(out + ".tmp", "w", encoding="utf-8", newline="\n") as f:
    f.write(text)
os.replace(out + ".tmp", out)
print(f"make-guide: {out}")
PY
