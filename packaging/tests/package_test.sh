#!/bin/sh
# The Debian package as a user gets it: built with cpack, unpacked into a scratch root
# with dpkg -x, its control data, file list and metadata checked, and its programs run
# from that root: the browser on the installed sample collection (under Xvfb) opens a
# book, the integration tool shows its window, a per-book stub in the installed kit
# opens its book through the opener.
#
# usage: package_test.sh CPACK BUILD_DIR GEN_COLLECTION BUILT_DATA_TXT
set -eu
# The package's file names are Hebrew: cpack and the tools read them in a UTF-8 locale.
export LC_ALL=C.UTF-8

if [ "${1:-}" = "--on-screen" ]; then
    mode=screen
    shift
else
    mode=main
fi

# ---------------------------------------------------------------- helpers
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Waits up to 15 s for a visible window of the program (its X class name) under this
# title, which Qt may follow with " — " and the application's name; prints its id.
find_window() {
    tries=0
    while [ "$tries" -lt 75 ]; do
        for id in $(xdotool search --onlyvisible --classname "^$1\$" 2>/dev/null); do
            case "$(xdotool getwindowname "$id" 2>/dev/null)" in
            "$2" | "$2 — "*)
                echo "$id"
                return 0
                ;;
            esac
        done
        tries=$((tries + 1))
        sleep 0.2
    done
    return 1
}

# Waits up to $2 (default 15) seconds for a file to be written.
wait_for_file() {
    tries=0
    while [ "$tries" -lt $((${2:-15} * 5)) ]; do
        [ -s "$1" ] && return 0
        tries=$((tries + 1))
        sleep 0.2
    done
    return 1
}

stop() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# ---------------------------------------------------------------- on the screen
# Runs under xvfb-run: ROOT, WORK and EXPECTED_BOOK come from the main part.
if [ "$mode" = screen ]; then
    opened="$WORK/opened"

    # The browser, started by its link in bin, lists the installed sample and opens the
    # book of the first row on a double click.
    rm -f "$opened"
    "$ROOT/usr/bin/kelidor" >"$WORK/kelidor.log" 2>&1 &
    browser=$!
    if window=$(find_window kelidor "פתיחת ספרים"); then
        # The list's first row: the list's top left corner is at 80, 104 under the menu bar.
        # A click that comes before the window takes input is lost: try again.
        for attempt in 1 2 3; do
            xdotool mousemove --window "$window" 400 132 click --repeat 2 --delay 80 1
            wait_for_file "$opened" 5 && break
        done
        if [ -s "$opened" ]; then
            [ "$(cat "$opened")" = "$EXPECTED_BOOK" ] ||
                fail "the browser opened '$(cat "$opened")', not the first book '$EXPECTED_BOOK'"
        else
            fail "a double click on the first row opened no book"
        fi
    else
        fail "the installed browser showed no window 'פתיחת ספרים'"
    fi
    kill -0 "$browser" 2>/dev/null || fail "the browser ended by itself"
    stop "$browser"
    if grep -q "^Ondarel: " "$WORK/kelidor.log"; then
        fail "the browser showed a message:"
        cat "$WORK/kelidor.log" >&2
    fi

    # The integration tool, started by its link in bin.
    "$ROOT/usr/bin/parvolin" >"$WORK/parvolin.log" 2>&1 &
    tool=$!
    find_window parvolin "העתקת קבצים" >/dev/null || {
        fail "the installed integration tool showed no window 'העתקת קבצים'"
        cat "$WORK/parvolin.log" >&2
    }
    stop "$tool"

    [ "$failures" -eq 0 ]
    exit
fi

# ---------------------------------------------------------------- main
cpack=$1
build=$2
generator=$3
builtData=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/kelidor-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
root="$work/root"

# 1. The package.
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack could not build the package" >&2
    exit 1
fi
deb=$(find "$work/out" -maxdepth 1 -name 'kelidor_*.deb')
[ -n "$deb" ] || { echo "FAIL: cpack wrote no kelidor_*.deb" >&2; exit 1; }
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"

# 2. Its control data: the libraries the programs link and what they load or start.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libjpeg62-turbo \
    qt6-qpa-plugins qt6-translations-l10n xdg-utils; do
    case ", $depends," in
    *", $package ("* | *", $package,"*) ;;
    *) fail "Depends lacks $package" ;;
    esac
done
dpkg-deb -e "$deb" "$work/control"
printf '/etc/kelidor/data.txt\n/etc/kelidor/K נתונים.txt\n' >"$work/conffiles"
cmp -s "$work/conffiles" "$work/control/conffiles" || fail "conffiles are not the two data files"

# 3. Its files.
dpkg -x "$deb" "$root"
app="$root/usr/lib/kelidor"
kit="$app/kit"
for program in "$app/kelidor" "$kit/parvolin" "$kit/K הפעלה.exe" "$kit/tessum.exe"; do
    if [ -f "$program" ] && [ ! -L "$program" ] && [ -x "$program" ]; then
        file -b "$program" | grep -q "ELF.*, stripped" || fail "$program is not a stripped program"
        # Every library it links is found on this system.
        ldd "$program" | grep "not found" && fail "$program lacks libraries"
    else
        fail "$program is missing or not executable"
    fi
done
# Links: where they lead within the root.
check_link() {
    if [ -L "$1" ] && [ "$(realpath "$1")" = "$(realpath "$2")" ]; then
        return 0
    fi
    fail "$1 is not a link to $2"
}
check_link "$root/usr/bin/kelidor" "$app/kelidor"
check_link "$root/usr/bin/parvolin" "$kit/parvolin"
check_link "$app/data.txt" "$root/etc/kelidor/data.txt"
check_link "$kit/K נתונים.txt" "$root/etc/kelidor/K נתונים.txt"
# The kit folder holds exactly the kit.
kitFiles=$(cd "$kit" && ls | sort | tr '\n' '|')
[ "$kitFiles" = "K הפעלה.exe|K נתונים.txt|parvolin|tessum.exe|" ] || fail "the kit folder holds: $kitFiles"
for name in kelidor parvolin; do
    for size in 16 22 24 32 48 64 128 256; do
        icon="$root/usr/share/icons/hicolor/${size}x$size/apps/$name.png"
        file -b "$icon" 2>/dev/null | grep -q "PNG image data, $size x $size" || fail "no $size px icon $icon"
    done
    [ -s "$root/usr/share/icons/hicolor/scalable/apps/$name.svg" ] || fail "no scalable icon for $name"
    desktop="$root/usr/share/applications/$name.desktop"
    if [ -f "$desktop" ]; then
        desktop-file-validate "$desktop" || fail "$desktop does not validate"
        grep -q "^Exec=$name\$" "$desktop" || fail "$desktop does not start $name"
        grep -q "^Icon=$name\$" "$desktop" || fail "$desktop does not show the icon $name"
    else
        fail "no desktop entry $desktop"
    fi
    metainfo="$root/usr/share/metainfo/example.kelidor.$name.metainfo.xml"
    if [ -f "$metainfo" ]; then
        appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
            { cat "$work/appstream.log" >&2; fail "$metainfo does not validate"; }
    else
        fail "no AppStream metadata $metainfo"
    fi
done
grep -q "^Name=פתיחת ספרים\$" "$root/usr/share/applications/kelidor.desktop" || fail "the browser's menu name"
grep -q "^Name=העתקת קבצים\$" "$root/usr/share/applications/parvolin.desktop" || fail "the integration tool's menu name"

# The catalogue names the installed sample, and every one of its books is there.
data="$root/etc/kelidor/data.txt"
printf '\\usr\\share\\kelidor\\sample\\PDFS\\\r\n' >"$work/line0"
head -n 1 "$data" | cmp -s - "$work/line0" || fail "data.txt does not name /usr/share/kelidor/sample/PDFS"
tail -n +2 "$data" >"$work/entries"
tail -n +2 "$builtData" | cmp -s - "$work/entries" || fail "data.txt holds other books than the built sample"
books=$(tail -n +2 "$data" | iconv -f CP1255 -t UTF-8 |
    awk -F '\t' '{ gsub(/\\/, "/", $3); sub(/\r$/, "", $3); print $3 "/" $1 ".pdf" }')
count=0
missing=0
while IFS= read -r book; do
    count=$((count + 1))
    [ -f "$root/usr/share/kelidor/sample/PDFS/$book" ] || missing=$((missing + 1))
done <<EOF
$books
EOF
[ "$count" -gt 0 ] || fail "the installed catalogue holds no book"
[ "$missing" -eq 0 ] || fail "$missing of the $count books of the catalogue are not in the package"
echo "sample: $count books"

# 4. The programs, from the unpacked root. The catalogue is pointed at the sample in
# this root, which is where the package would put it on a real system.
"$generator" --no-files --books "$root/usr/share/kelidor/sample/PDFS" --data "$data"
mkdir -p "$work/bin" "$work/home" "$work/wine/dosdevices"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s' "\$1" >"$work/opened.part" && mv "$work/opened.part" "$work/opened"
EOF
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH" HOME="$work/home" WINEPREFIX="$work/wine" XDG_CONFIG_HOME="$work/home/.config"
unset DISPLAY WAYLAND_DISPLAY

# A per-book stub in the installed kit: the opener beside it finds the book in the
# kit's book list (its first line names drive G) and opens its PDF from the sample.
mkdir -p "$work/drive-g/kdapp/WebApp/WebApp/App_Data"
ln -s "$root/usr/share/kelidor/sample/PDFS" "$work/drive-g/kdapp/WebApp/WebApp/App_Data/PDFS"
ln -s "$work/drive-g" "$work/wine/dosdevices/g:"
bookLine=$(sed -n 2p "$kit/K נתונים.txt" | iconv -f CP1255 -t UTF-8 | tr -d '\r')
bookName=$(printf '%s' "$bookLine" | cut -f 1)
bookPdf=$(printf '%s' "$bookLine" | awk -F '\t' '{ gsub(/\\/, "/", $3); print $3 "/" $2 ".pdf" }')
stub="$kit/K $bookName.exe"
cp "$kit/tessum.exe" "$stub"
rm -f "$work/opened"
"$stub" >"$work/stub.log" 2>&1 || fail "the stub ended with $?"
if wait_for_file "$work/opened"; then
    [ "$(realpath "$(cat "$work/opened")")" = "$(realpath "$root/usr/share/kelidor/sample/PDFS/$bookPdf")" ] ||
        fail "the stub for '$bookName' opened '$(cat "$work/opened")', not $bookPdf of the sample"
else
    fail "the stub for '$bookName' opened nothing"
    cat "$work/stub.log" >&2
fi
rm -f "$stub"

firstBook=$(sed -n 2p "$data" | iconv -f CP1255 -t UTF-8 | tr -d '\r' |
    awk -F '\t' '{ gsub(/\\/, "/", $3); print $3 "/" $1 ".pdf" }')
before=$(md5sum <"$data")
ROOT="$root" WORK="$work" EXPECTED_BOOK="$root/usr/share/kelidor/sample/PDFS/$firstBook" \
    xvfb-run -a -s "-screen 0 1400x900x24" sh "$0" --on-screen || failures=$((failures + 1))
[ "$(md5sum <"$data")" = "$before" ] || fail "the browser rewrote data.txt"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "package checks passed"
