#!/usr/bin/env bash
# install_test.sh BUILD_DIR SOURCE_DIR
# Installs with cmake --install, validates the desktop files, builds the .deb,
# unpacks it into a scratch root and draws a page with the renderer from there.
# Exit 77 (skipped) only when a validator is missing and all else passed.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
id=example.nuvela.Nuvela
fail() { echo "FAIL: $*" >&2; exit 1; }

# The width of a PNG: bytes 16-19 of the header, big-endian.
png_width() { od -An -tu1 -j16 -N4 "$1" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}'; }

check_tree() { # ROOT: an installed /usr tree
  local r=$1
  for f in bin/nuvela bin/nuvela-render bin/nuvela-imgdb \
           share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
           share/icons/hicolor/scalable/apps/$id.svg \
           share/nuvela/templates/birthday.ini share/nuvela/templates/textdata.txt \
           share/nuvela/language/english.lng share/nuvela/nvdb.db share/nuvela/lmndb.db; do
    [ -e "$r/$f" ] || fail "$f is not installed"
  done
  for size in 16 24 32 48 64 128 256; do
    local png=$r/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ "$(png_width "$png")" = "$size" ] || fail "icon $png is not $size pixels wide"
  done
  for page in nuvela nuvela-render nuvela-imgdb; do
    gzip -t "$r/share/man/man1/$page.1.gz" || fail "man page $page"
    zcat "$r/share/man/man1/$page.1.gz" | grep -q '^\.TH' || fail "man page $page has no title"
  done
  ! find "$r/share/nuvela" -name CMakeLists.txt | grep -q . || fail "build files shipped"
}

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
check_tree "$scratch/prefix"
# Every installed program starts from a private prefix and answers --help;
# the program itself also in a terminal without a display.
while read -r prog envs; do
  out=$(env -i $envs "$scratch/prefix/bin/$prog" --help 2>&1) || fail "$prog --help: $out"
  [[ $out == *Usage:* ]] || fail "$prog --help prints no usage: $out"
done <<'PROGRAMS'
nuvela
nuvela-render
nuvela-imgdb
ret-gallery QT_QPA_PLATFORM=offscreen
PROGRAMS
env -i "$scratch/prefix/bin/nuvela" --version | grep -qx 'nuvela [0-9]*\.[0-9]*\.[0-9]*' || fail "nuvela --version"
status=0; out=$(env -i "$scratch/prefix/bin/nuvela" --program-dir 2>&1) || status=$?
[ "$status" = 2 ] && [[ $out == "Error: --program-dir needs a folder"* ]] || fail "nuvela --program-dir without a folder: $status $out"

missing=""
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$scratch/prefix/share/applications/$id.desktop" || fail "desktop entry"
else missing="$missing desktop-file-validate"; fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$scratch/prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo"
else missing="$missing appstreamcli"; fi

# The package, unpacked as dpkg would install it.
(cd "$build" && cpack -G DEB -B "$scratch/package" >/dev/null) || fail "cpack"
deb=$(ls "$scratch"/package/nuvela_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6gui6 libqt6widgets6 libturbojpeg0 fonts-liberation2 culmus; do
  [[ $depends == *"$d"* ]] || fail "the package does not depend on $d: $depends"
done
dpkg -x "$deb" "$scratch/root"
check_tree "$scratch/root/usr"
touch "$scratch/stamp"
sleep 1
# No display and no environment, as from a cron job.
env -i "$scratch/root/usr/bin/nuvela-render" --template birthday --scale 0.5 -o "$scratch/page.png" \
  || fail "the unpacked renderer cannot draw"
[ "$(png_width "$scratch/page.png")" -gt 300 ] || fail "page too small"
env -i "$scratch/root/usr/bin/nuvela-render" --check || fail "the shipped templates do not pass --check"
# First start of the program: it makes the user's folder from share/nuvela.
home=$scratch/home
mkdir -p "$home"
env -i HOME="$home" QT_QPA_PLATFORM=offscreen timeout 10 "$scratch/root/usr/bin/nuvela" >/dev/null 2>&1 &
for _ in $(seq 50); do [ -f "$home/.local/share/Nuvela/.shipped" ] && break; sleep 0.2; done
kill %1 2>/dev/null; wait || true
cmp -s "$home/.local/share/Nuvela/templates/birthday.ini" "$scratch/root/usr/share/nuvela/templates/birthday.ini" \
  || fail "the first start made no program folder in the user's home"
# From then on the installed tools work on the user's folder, where his versions are.
cp "$home/.local/share/Nuvela/templates/birthday.ini" "$home/.local/share/Nuvela/templates/mine.ini"
env -i HOME="$home" "$scratch/root/usr/bin/nuvela-render" --template mine --scale 0.5 -o "$scratch/mine.png" \
  || fail "the installed renderer does not draw the user's own folder"
! find "$scratch/root" -newer "$scratch/stamp" | grep . || fail "the programs wrote into their install folder"
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes"

if [ -n "$missing" ]; then echo "skipped: missing$missing"; exit 77; fi
