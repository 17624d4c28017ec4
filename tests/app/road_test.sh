#!/usr/bin/env bash
# The whole road through the real program, driven only by keyboard and mouse
# events sent to the X server: choose a template, edit a text, put a picture
# of one's own in a frame, save it as a new version, preview it full size and
# scroll, save a JPEG, print to PDF, exit, start again and find the version
# and the very same page; then edit, crash, and get the unsaved page back.
# On the way, keys pressed faster than a page is drawn.
#   road_test.sh BUILD-DIR LANGUAGE     (LANGUAGE: hebrew or english)
# Screenshots of every step go to BUILD-DIR/road/LANGUAGE/.
set -euo pipefail
build="$(cd "$1" && pwd)"
lang="$2"

# Under a virtual X server of its own; 77 tells ctest the road was skipped.
if [ -z "${ROAD_ON_XVFB:-}" ]; then
  for tool in xvfb-run xdotool xwd xwdtopnm pnmtopng pdfinfo; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (make test installs it)"; exit 77; }
  done
  # Display numbers away from the usual 99 onwards, where other runs of
  # xvfb-run -a race for the same free number. -noreset: the server would
  # otherwise reset each time its last client (xdotool) leaves, refusing the
  # program if it connects just then.
  ROAD_ON_XVFB=1 exec xvfb-run -a -n $((200 + $$ % 700)) -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi
# The places clicked below are those of this screen.
[ "$(xdotool getdisplaygeometry 2>&1)" = "1280 1024" ] || { echo "FAIL: no X server of our own on $DISPLAY"; exit 1; }

work="$build/road/$lang"
shots="$work/screenshots"
rm -rf "$work" && mkdir -p "$shots"
dir="$work/program"
cp -r "$build/data" "$dir"
sed -i "s/^lang=.*\r\$/lang=$lang\r/" "$dir/templates/textdata.txt"
# A picture of the user's own, outside the program folder.
cp "$build/data/temppic/sample_cat.jpg" "$work/mine.jpg"
# The real windows on the X server, whatever the other tests run on.
export QT_QPA_PLATFORM=xcb
export HOME="$work/home" && mkdir -p "$HOME"
export XDG_STATE_HOME="$HOME/.local/state" # where unsaved work waits after a crash

step=0
pid=""
shot() { # name [window]: the window itself, since a modal one is not in the root's picture
  step=$((step + 1))
  local what=(-root)
  [ -n "${2:-}" ] && what=(-id "$2")
  xwd "${what[@]}" -silent | xwdtopnm 2>/dev/null | pnmtopng > "$shots/$(printf %02d "$step")-$1.png" || true
}
fail() {
  echo "FAIL after step $step: $*" >&2
  shot failed
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  exit 1
}
last_shot() { ls "$shots"/*.png | tail -n $(($1 + 1)) | head -1; }
# Radio buttons read from the right in Hebrew.
if [ "$lang" = hebrew ]; then full_size_x=1228; else full_size_x=983; fi
# Windows with a title: a tooltip that shows up meanwhile (untitled) is not
# the window awaited, and may be gone before it is used.
windows() { { xdotool search --onlyvisible --name '.' 2>/dev/null || true; } | sort -n; }
# The newest window, once there is one that was not there before ($1: the ids before).
# Up to half a minute: a loaded machine starts the program slowly.
new_window() {
  local id
  for _ in $(seq 300); do
    id=$(comm -13 <(echo "$1") <(windows) | tail -1)
    [ -n "$id" ] && { sleep 1; echo "$id"; return; }
    sleep 0.1
  done
  return 1
}
# Waits until window $1 is gone.
gone() {
  for _ in $(seq 100); do
    windows | grep -qx "$1" || return 0
    sleep 0.1
  done
  return 1
}
# A click at x,y in window $1; the screen is fixed, so the places are too.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 1; }
keys() { xdotool windowfocus "$1"; sleep 0.3; shift; xdotool key --delay 80 "$@"; sleep 0.5; }
typed() { xdotool windowfocus "$1"; sleep 0.3; xdotool type --delay 20 "$2"; sleep 0.3; }

start() {
  local before
  before=$(windows)
  "$build/app/nuvela" --program-dir "$dir" > "$work/run$1.log" 2>&1 &
  pid=$!
  main=$(new_window "$before") || fail "no main window"
  sleep 1
}
choose_birthday() {
  click "$main" 1000 114
  sleep 2 # the page is drawn
}
# The page full size in the output window, saved as JPEG to $1.
output_and_save() {
  local before
  before=$(windows)
  click "$main" 1200 925
  output=$(new_window "$before") || fail "no output window"
  shot output "$output"
  click "$output" "$full_size_x" 136
  shot full-size "$output"
  keys "$output" Next Next End
  shot scrolled "$output"
  # Full size shows another part of the page than fitted, and scrolling another again.
  ! cmp -s "$(last_shot 2)" "$(last_shot 1)" || fail "full size shows the fitted page"
  ! cmp -s "$(last_shot 1)" "$(last_shot 0)" || fail "the page does not scroll"
  before=$(windows)
  click "$output" 1105 285
  dialog=$(new_window "$before") || fail "no save dialog"
  keys "$dialog" ctrl+a
  typed "$dialog" "$1"
  keys "$dialog" Return
  gone "$dialog" || fail "the save dialog stays"
  for _ in $(seq 50); do [ -s "$1" ] && break; sleep 0.1; done
  [ -s "$1" ] || fail "no JPEG saved"
  shot saved "$output"
}

# ---- the first run
start 1
shot start
# A task bar shows the window's own icon and finds the menu's entry by the
# window's instance name.
props=$(xprop -id "$main" _NET_WM_ICON WM_CLASS)
[[ $props == *"Icon (16 x 16)"* ]] || fail "the main window has no icon"
wm_class=$(grep '^StartupWMClass=' "$(dirname "$0")/../../app/desktop/example.nuvela.Nuvela.desktop" | cut -d= -f2)
[[ $props == *"WM_CLASS(STRING) = \"$wm_class\","* ]] || fail "WM_CLASS is not the desktop entry's $wm_class: $props"
# Down twice at once, the second while the first template's page is drawn:
# the second chooses the next template, as two unhurried presses do. The
# gallery panel (its caption names the template) tells.
gallery() { xwd -id "$main" -silent | xwdtopnm 2>/dev/null | pnmcut 940 0 320 170 | md5sum; }
xdotool windowfocus "$main"
sleep 0.3
xdotool key Down Down
sleep 2
quick=$(gallery)
shot two-downs "$main"
keys "$main" Up
sleep 1
keys "$main" Down
sleep 2
[ "$(gallery)" = "$quick" ] || fail "Down pressed twice at once lit one template and drew another"
choose_birthday
shot template "$main"
before=$(windows)
click "$main" 475 306 # the headline
editor=$(new_window "$before") || fail "no text editor"
typed "$editor" "Road test 42"
shot text-editor "$editor"
keys "$editor" ctrl+Return
gone "$editor" || fail "the text editor stays"
shot text-applied "$main"

before=$(windows)
click "$main" 360 502 # the picture
dialog=$(new_window "$before") || fail "no file dialog"
typed "$dialog" "$work/mine.jpg"
keys "$dialog" Return
gone "$dialog" || fail "the file dialog stays"
editor=$(new_window "$before") || fail "no picture editor"
shot picture-editor "$editor"
keys "$editor" ctrl+Return
gone "$editor" || fail "the picture editor stays"
shot picture-applied "$main"

versions_before=$(grep -c '^\[tav101girsa' "$dir/templates/textdata.txt")
keys "$main" ctrl+shift+s
# Up to ten seconds: a loaded machine saves slowly.
for _ in $(seq 100); do
  versions=$(grep -c '^\[tav101girsa' "$dir/templates/textdata.txt")
  [ "$versions" -gt "$versions_before" ] && break
  sleep 0.1
done
[ "$versions" -eq $((versions_before + 1)) ] || fail "no new version in textdata.txt"
grep -q "Road test 42" "$dir/templates/textdata.txt" || fail "the text is not in the new version"
shot version-saved "$main"

output_and_save "$work/page-before.jpg"

before=$(windows)
click "$output" 1105 367 # print
dialog=$(new_window "$before") || fail "no print dialog"
# The print dialog offers printing to a PDF file in the home folder.
keys "$dialog" Return
gone "$dialog" || fail "the print dialog stays"
for _ in $(seq 100); do [ -s "$HOME/print.pdf" ] && break; sleep 0.1; done
pdfinfo "$HOME/print.pdf" > /dev/null 2>&1 || fail "no PDF printed"
shot printed "$output"

click "$output" 1066 531 # exit
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program did not exit"
wait "$pid" || fail "the program exited with an error"
pid=""

# ---- the second run: the version is there, and so is the page
start 2
choose_birthday
click "$main" 1230 746 # the next version, twice
click "$main" 1230 746
shot version-found "$main"
output_and_save "$work/page-after.jpg"
cmp -s "$work/page-before.jpg" "$work/page-after.jpg" || fail "the page differs after a new start"
click "$output" 1066 531
wait "$pid" || fail "the program exited with an error"

# ---- the third run: an edit, a crash, and the unsaved page back
start 3
choose_birthday
before=$(windows)
click "$main" 475 306 # the headline
editor=$(new_window "$before") || fail "no text editor"
typed "$editor" "Crash test 7"
keys "$editor" ctrl+Return
gone "$editor" || fail "the text editor stays"
output_and_save "$work/page-crashed.jpg"
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
pid=""
before=$(windows)
"$build/app/nuvela" --program-dir "$dir" > "$work/run4.log" 2>&1 &
pid=$!
prompt=$(timeout 30 xdotool search --sync --onlyvisible --name 'Restore changes|שחזור שינויים' | head -1) \
  || fail "no offer to restore the unsaved changes"
sleep 1
shot restore-prompt "$prompt"
keys "$prompt" Return # Yes
gone "$prompt" || fail "the restore prompt stays"
main=$(comm -13 <(echo "$before") <(windows) | tail -1)
sleep 1
shot restored "$main"
output_and_save "$work/page-restored.jpg"
cmp -s "$work/page-crashed.jpg" "$work/page-restored.jpg" || fail "the restored page differs from the one before the crash"
grep -q "Crash test 7" "$dir/templates/textdata.txt" && fail "the restored edit was written into textdata.txt unasked"
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
pid=""
echo "The road in $lang: screenshots in $shots"
