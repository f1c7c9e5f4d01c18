#!/usr/bin/env bash
# Renders every step of both programs, in every state worth seeing, to PNGs in one folder
# with an index page showing them side by side. Usage: scripts/gallery.sh [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-gallery}"
bash scripts/setup-debian.sh
cmake --preset default >/dev/null
cmake --build --preset default --target marten-screenshot MartenOnboarding >/dev/null
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen

# Every state of every step in the programs' own order, as the step table gives them.
mapfile -t full_states < <(build/bin/marten-screenshot --states full)
mapfile -t simple_states < <(build/bin/marten-screenshot --states simple)

{
    echo '<!DOCTYPE html><html><head><meta charset="utf-8"><title>Onboarding gallery</title>'
    echo '<style>body{font-family:sans-serif;background:#eee;margin:16px}'
    echo 'table{border-spacing:16px}td{vertical-align:top;text-align:center}'
    echo 'img{width:405px;border:1px solid #bbb;background:#fff}</style></head><body>'
    echo '<h1>Onboarding gallery</h1><table><tr><th>MartenOnboarding</th><th>MartenOnboarding_Simple</th></tr>'
} > "$out/index.html"

render() { # variant state
    local file="$1-$2.png"
    if build/bin/marten-screenshot "$1" "$2" "$out/$file" >/dev/null 2>"$out/$1-$2.log"; then
        rm -f "$out/$1-$2.log"
        echo "<div><img src=\"$file\" alt=\"$1 $2\"><p>$2</p></div>"
    elif grep -q "does not apply" "$out/$1-$2.log"; then
        rm -f "$out/$1-$2.log"
    fi
}

all_states=$(printf '%s\n' "${full_states[@]}" "${simple_states[@]}" | awk '!seen[$0]++')
for state in $all_states; do
    {
        echo '<tr><td>'
        printf '%s\n' "${full_states[@]}" | grep -qx "$state" && render full "$state"
        echo '</td><td>'
        printf '%s\n' "${simple_states[@]}" | grep -qx "$state" && render simple "$state"
        echo '</td></tr>'
    } >> "$out/index.html"
done
echo '</table></body></html>' >> "$out/index.html"
echo "$(ls "$out"/*.png | wc -l) pictures in $out/index.html"
