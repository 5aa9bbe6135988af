#!/bin/bash
# Drives the real parvolin as a user would, on a virtual display: it starts in the
# host library folder C:\OTZAR\pdf of a temporary drive table, the copy button is
# clicked, and then one installed stub is started and must open its book's PDF.
#
#   drive_parvolin.sh PARVOLIN OPENER STUB [SCREENSHOT_FOLDER]
#
# Exit code 77 (skipped) when xvfb-run or xdotool is missing.
set -euo pipefail

if [[ "${1:-}" == --inside ]]; then
    root=$2
    shots=${3:-}
    cd "$root"
    "$root/kit/parvolin" 2>"$root/stderr.txt" &
    pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name 'העתקת קבצים' | head -1)
    [[ -n "$shots" ]] && import -window root "$shots/parvolin-start.png"

    # The about button: the box comes up with its caption and its size.
    xdotool mousemove --window "$window" 24 356 click 1
    about=$(timeout 10 xdotool search --sync --onlyvisible --name '^אודות$' | head -1)
    xdotool getwindowgeometry "$about" | grep -q 'Geometry: 233x236'
    [[ -n "$shots" ]] && import -window root "$shots/parvolin-about.png"
    xdotool windowfocus --sync "$about" key Escape
    for _ in $(seq 50); do xdotool search --onlyvisible --name '^אודות$' >/dev/null || break; sleep 0.1; done

    # The copy button.
    xdotool mousemove --window "$window" 269 36 click 1
    for _ in $(seq 100); do
        [[ -e "$root/drive_c/OTZAR/pdf/kelidor/K בראשית.exe" ]] && break
        sleep 0.1
    done
    sleep 0.5
    [[ -n "$shots" ]] && import -window root "$shots/parvolin-after-copy.png"
    kill "$pid"
    wait "$pid" || true
    exit 0
fi

parvolin=$1 opener=$2 stub=$3 shots=${4:-}
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || exit 77
for file in "$parvolin" "$opener" "$stub"; do
    [[ -x "$file" ]] || { echo "missing: $file (build parvolin, book and tessum first)"; exit 1; }
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
books=$root/g/kdapp/WebApp/WebApp/App_Data/PDFS
mkdir -p "$root/kit" "$root/wine/dosdevices" "$root/drive_c/OTZAR/pdf" "$books/sub/deep" "$root/bin"
ln -s ../../drive_c "$root/wine/dosdevices/c:"
ln -s ../../g "$root/wine/dosdevices/g:"
cp "$parvolin" "$root/kit/parvolin"
cp "$opener" "$root/kit/K הפעלה.exe"
cp "$stub" "$root/kit/tessum.exe"
# Line 0, then A and בראשית (in Windows-1255), sorted by bytes.
printf 'X:\\old\\\r\nA\t11\tsubA\r\n\xe1\xf8\xe0\xf9\xe9\xfa\t22\tsub\\deep\r\n' >"$root/kit/K נתונים.txt"
: >"$books/sub/deep/22.pdf"
printf '#!/bin/sh\nprintf "%%s" "$1" > "%s/opened"\n' "$root" >"$root/bin/xdg-open"
chmod +x "$root/bin/xdg-open"

export WINEPREFIX=$root/wine
xvfb-run -a -s "-screen 0 1400x900x24" "$0" --inside "$root" "$shots"

installed=$root/drive_c/OTZAR/pdf/kelidor
fail() { echo "FAIL: $*"; ls -la "$installed" || true; cat "$root/stderr.txt" || true; exit 1; }
[[ "$(ls "$installed" | sort)" == "$(printf 'K A.exe\nK בראשית.exe\nK הפעלה.exe\nK נתונים.txt')" ]] \
    || fail "the installed files"
cmp -s "$opener" "$installed/K הפעלה.exe" || fail "the opener differs"
cmp -s "$stub" "$installed/K A.exe" || fail "stub A differs"
cmp -s "$stub" "$installed/K בראשית.exe" || fail "stub בראשית differs"
[[ -x "$installed/K בראשית.exe" ]] || fail "the stub is not executable"
printf 'G:\\kdapp\\WebApp\\WebApp\\App_Data\\PDFS\\\r\nA\t11\tsubA\r\n\xe1\xf8\xe0\xf9\xe9\xfa\t22\tsub\\deep\r\n' \
    | cmp -s - "$installed/K נתונים.txt" || fail "the installed book list"

# The reader picks the book in the host library: its stub opens the PDF.
PATH=$root/bin:$PATH "$installed/K בראשית.exe"
for _ in $(seq 100); do [[ -s "$root/opened" ]] && break; sleep 0.1; done
[[ "$(cat "$root/opened" 2>/dev/null)" == "$books/sub/deep/22.pdf" ]] \
    || fail "the stub opened '$(cat "$root/opened" 2>/dev/null)'"
echo "parvolin installed the kit and the stub opened $books/sub/deep/22.pdf"
