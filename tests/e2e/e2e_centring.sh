#!/usr/bin/env bash
# Under a window manager that draws frames, the windows that open in the
# middle of the screen sit there by their real frame: the gaps to the left and
# right of the frame, and above and below it, differ by a pixel at most.
source "$(dirname "$0")/lib.sh"

# frame_centred TITLE: checks the window's frame against the work area.
frame_centred() {
  local id x y w h left right top bottom ax ay aw ah
  id=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
  read -r x y w h < <(xwininfo -id "$id" | awk '
    /Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
    /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w, h}')
  read -r left right top bottom _ < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r ax ay aw ah _ < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g')
  [ -n "$left" ] && [ -n "$ax" ] || return 1
  local fx=$((x - left)) fy=$((y - top)) fw=$((w + left + right)) fh=$((h + top + bottom))
  local gapLeft=$((fx - ax)) gapRight=$((ax + aw - fx - fw))
  local gapTop=$((fy - ay)) gapBottom=$((ay + ah - fy - fh))
  echo "$1: frame ${fw}x${fh}+${fx}+${fy}, gaps $gapLeft/$gapRight $gapTop/$gapBottom"
  [ $((gapLeft - gapRight)) -ge -1 ] && [ $((gapLeft - gapRight)) -le 1 ] &&
    [ $((gapTop - gapBottom)) -ge -1 ] && [ $((gapTop - gapBottom)) -le 1 ] &&
    [ "$top" -gt 0 ] # a frame was drawn, or nothing was tested
}

# check_centred TITLE: waits until the window's frame is drawn and centred.
check_centred() {
  wait_for "the frame of \"$1\"" 20 has_frame "$1"
  local deadline=$((SECONDS + 10))
  until frame_centred "$1"; do
    [ $SECONDS -ge $deadline ] && fail "\"$1\" is not centred by its frame"
    sleep 0.2
  done
}

sqlite3 "$DATA" "insert into TTerm (TermCode,TermName) values (1,'一学期');
  insert into TClass (ClassCode,ClassName) values ('C1','一班');
  insert into TTermToClass (TermCode,ClassCode) values (1,'C1');"

# The window manager takes over the shown main window: started first, it
# races with the program's first map on a loaded machine.
start_app
start_wm
wait_for "the main window's frame" 30 has_frame "Quorvel学生成绩管理系统"

open_menu_item h a "关于.."
check_centred "关于.."
[ -n "${CENTRING_SHOT:-}" ] && import -window root "$CENTRING_SHOT"
keys Return
wait_for "the About dialog to close" 20 window_gone "关于.."

open_menu_item b t "学期信息维护"
check_centred "学期信息维护"
keys alt+a
wait_for "the term dialog" 30 window_named "新增/修改学期信息"
check_centred "新增/修改学期信息"
focus_window "新增/修改学期信息"
keys Escape
wait_for "the term dialog to close" 30 window_gone "新增/修改学期信息"
focus_window "学期信息维护"
keys alt+x
wait_for "the term window to close" 30 window_gone "学期信息维护"

open_menu_item r r "学生成绩录入"
check_centred "学生成绩录入"
focus_window "学生成绩录入"
keys alt+x
wait_for "the grade window to close" 30 window_gone "学生成绩录入"

focus_window "Quorvel学生成绩管理系统"
keys alt+s
sleep 0.3
keys x
wait_for "the program to end" 30 bash -c "! kill -0 $APP_PID"
APP_PID=""
echo "e2e centring: ok"
