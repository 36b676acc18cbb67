# A private Xvfb display and Wine prefix for running kvor.exe beside the
# native kvor, and the steps of driving their launchers. Sourced by
# tests/windows/end_to_end and bench/race after they set work (a scratch
# folder, removed at the end), and screen (the display's size, by default
# 1024x768) when they want another.
: "${work:?set work to a scratch folder before sourcing desktop_session.sh}"
started=()
screen=${screen:-1024x768}

fail() { echo "$(basename "$0"): $*" >&2; exit 1; }
# wine_step WHAT COMMAND...: a Wine command whose output is kept apart, and
# shown with what failed when it fails: the scratch folder goes at the end.
wine_step() {
  local what=$1
  shift
  "$@" </dev/null >"$work/wine-step.log" 2>&1 || fail "$what failed: $(tail -n 20 "$work/wine-step.log")"
}
finish() {
  local status=$?
  if [[ -n ${WINEPREFIX:-} && -d $WINEPREFIX ]]; then wineserver -k 2>/dev/null || true; fi
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
  exit "$status"
}
trap finish EXIT

# A display of our own.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
started+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || fail "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")

# A Wine prefix of our own whose default desktop is the virtual desktop "kvor".
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
wineserver -f -p </dev/null >"$work/wineserver.log" 2>&1 &
started+=($!)
wine_step "making the Wine prefix" wine wineboot --init
wine_step "choosing the virtual desktop" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d kvor /f
wine_step "sizing the virtual desktop" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v kvor /d "$screen" /f

# The frames of the show on that data: part one's 1500, every frame of mont.kvs
# and all but the last five of salle.kvs. A scene's frame count is its
# lastFrame + 1, after the magic and the name.
show_frames() {
  python3 - "$1" <<'PY'
import struct, sys
def frame_count(path):
    data = open(path, "rb").read()
    name_end = data.index(b"\0", 7)
    first, last = struct.unpack_from("<ii", data, name_end + 1)
    return last + 1
print(1500 + frame_count(sys.argv[1] + "/mont.kvs") + max(frame_count(sys.argv[1] + "/salle.kvs") - 5, 0))
PY
}

# Waits until a window of that name is mapped; its id.
window_named() {
  local id
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [[ -n $id ]] && { echo "$id"; return; }
    sleep 0.1
  done
  fail "no window named $1"
}

# Waits until the window's place and size read the same twice in a row: the
# window manager has placed it and the dialog has its final size.
settle() {
  local before="" now
  for _ in $(seq 100); do
    now=$(xwininfo -id "$1" | grep -E 'Absolute upper-left|^ *(Width|Height):')
    [[ $now == "$before" ]] && return
    before=$now
    sleep 0.1
  done
  fail "the window $1 did not settle"
}

# Waits until the window shows a bright pixel: the show has drawn a title.
wait_for_picture() {
  for _ in $(seq 300); do
    [[ $(import -window "$1" -format '%[fx:maxima > 0.5]' info: 2>/dev/null) == 1 ]] && return
    sleep 0.1
  done
  fail "the screen stayed dark"
}

# Clicks at the centre of the launcher's "Launch" button, found by its place
# in the dialog (86,70 to 123,84 in dialog units of a 207 x 143 dialog) below
# a caption of that many pixels.
press_launch() {
  local id=$1 caption=$2 geometry x y width height
  # xwininfo's absolute place: xdotool's is wrong for a window inside another.
  geometry=$(xwininfo -id "$id")
  x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$geometry")
  y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$geometry")
  width=$(awk '/^ *Width:/ {print $NF}' <<<"$geometry")
  height=$(awk '/^ *Height:/ {print $NF}' <<<"$geometry")
  x=$((x + width * (86 + 37 / 2) / 207))
  y=$((y + caption + (height - caption) * (70 + 7) / 143))
  # The pointer rests on the button before the press, as a user's would.
  xdotool mousemove "$x" "$y" sleep 0.5 click 1
}

# The show's window: a window of that name and width (Wine's virtual desktop
# takes the display mode's size, 640; the native window covers the screen, 1024).
show_window() {
  local id WIDTH=0 X Y HEIGHT SCREEN
  for _ in $(seq 300); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id")"
      ((WIDTH == $2)) && { echo "$id"; return; }
    done
    sleep 0.1
  done
  fail "no show window named $1"
}
