#!/usr/bin/env bash
# A look at the guide as its readers see it: cmake/check-guide.sh HTML FOLDER
# renders chosen sections of HTML in headless Chromium (installed from
# Debian when missing; only this check needs it), at a phone's width and a
# desktop's, and saves each as FOLDER/<width>-<section>.png, to be looked at.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: cmake/check-guide.sh HTML FOLDER" >&2
  exit 2
fi
html=$(realpath "$1")
mkdir -p "$2"
folder=$(realpath "$2")
if ! command -v chromium >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends chromium
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One page per section: the guide's head and style, then that section only.
python3 - "$html" "$work" <<'PY'
import re, sys
html, work = sys.argv[1:3]
text = open(html, encoding="utf-8").read()
head = text[: text.index("<body>") + len("<body>")]
sections = re.split(r'(?=<h2 id=")', text[text.index("<body>") + len("<body>"):])
first = sections[0].split("<nav>")[0]
for section in sections[1:]:
    name = re.match(r'<h2 id="([^"]+)"', section).group(1)
    body = section.split("</body>")[0]
    if name == "spis":
        body = first + "<nav>" + body
    with open(f"{work}/{name}.html", "w", encoding="utf-8") as f:
        f.write(head + body + "</body></html>")
PY

for page in "$work"/*.html; do
  name=$(basename "$page" .html)
  for width in 412 1280; do
    png=$folder/$width-$name.png
    timeout 60 chromium --headless=new --no-sandbox --disable-gpu --hide-scrollbars \
      --force-device-scale-factor=1 --window-size="$width,9000" --screenshot="$png" \
      "file://$page" >/dev/null 2>&1
    # Down to the content's height: the white below it cut off.
    convert "$png" -background white -gravity north -splice 0x1 -trim +repage \
      -bordercolor white -border 12 "$png"
  done
done
ls "$folder"
