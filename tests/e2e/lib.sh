# Shared steps of the end-to-end tests: a program directory of its own with an
# empty data file, a window manager, and waits on conditions (never on fixed
# sleeps alone).
set -euo pipefail

APP_BIN="$1"
INIT_BIN="$2"
WORK="$(mktemp -d)"
APP_DIR="$WORK/app"
mkdir -p "$APP_DIR"
cp "$APP_BIN" "$APP_DIR/StudentGrades"
"$INIT_BIN" "$APP_DIR/db/Student.dat" >/dev/null
DATA="$APP_DIR/db/Student.dat"
APP_PID=""
SHOT_ON_FAIL="${SHOT_ON_FAIL:-/tmp/e2e-failure.png}"

cleanup() {
  [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
  [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null || true
  [ -n "${KEEP_WORK:-}" ] && echo "kept $WORK" || rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  xdotool search --name . getwindowname %@ 2>/dev/null | sed "s/^/  window: /" >&2 || true
  [ -f "$WORK/app.log" ] && sed 's/^/  program: /' "$WORK/app.log" >&2
  [ -n "${SHOT_ON_FAIL:-}" ] && import -window root "$SHOT_ON_FAIL" 2>/dev/null || true
  exit 1
}

# wait_for DESCRIPTION TIMEOUT_SECONDS COMMAND...: polls COMMAND until it succeeds.
wait_for() {
  local what="$1" timeout="$2"
  shift 2
  local deadline=$((SECONDS + timeout))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $deadline ] && fail "timed out waiting for $what"
    sleep 0.2
  done
}

window_named() { xdotool search --onlyvisible --name "^$1\$" | head -1 | grep -q .; }
window_gone() { ! window_named "$1"; }
# The window manager has drawn the window's frame.
has_frame() { xprop -id "$(xdotool search --onlyvisible --name "^$1\$" | head -1)" _NET_FRAME_EXTENTS | grep -q =; }
focus_window() {
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
  xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id"
}
sql() { sqlite3 "$DATA" "$1"; }
sql_equals() { [ "$(sql "$1")" = "$2" ]; }
keys() { xdotool key --delay 80 "$@"; }

start_wm() {
  openbox >/dev/null 2>&1 &
  WM_PID=$!
  wait_for "the window manager" 20 xprop -root _NET_SUPPORTING_WM_CHECK
}

start_app() {
  (cd "$WORK" && LANG=C.UTF-8 "$APP_DIR/StudentGrades" >"$WORK/app.log" 2>&1) &
  APP_PID=$!
  wait_for "the main window" 60 window_named "Quorvel学生成绩管理系统"
  focus_window "Quorvel学生成绩管理系统"
}

# open_menu_item ALT_KEY ITEM_KEY WINDOW_TITLE: a menu item by its access keys,
# then waits for the window it opens.
open_menu_item() {
  focus_window "Quorvel学生成绩管理系统"
  keys "alt+$1"
  sleep 0.3
  keys "$2"
  wait_for "the window \"$3\"" 30 window_named "$3"
  focus_window "$3"
}
