#!/usr/bin/env bash
# A newcomer's first start: the built program on an empty data file shows the
# operation guide with the demo school on offer; one click on it and Yes fill
# the data file. 帮助 → 操作向导 hides the guide, and the next start keeps it hidden.
source "$(dirname "$0")/lib.sh"

# The remembered choices of this run alone.
export XDG_CONFIG_HOME="$WORK/config"
SETTINGS="$XDG_CONFIG_HOME/Quorvel/学生成绩管理系统.conf"
SHOT="$WORK/shot.png"
# The fill of the button "载入示例学校", a colour drawn nowhere else.
OFFER="#1C865C"

# The box around every pixel of the offer's colour ("WxH+X+Y"), empty when none.
offer_box() {
  import -window root "$SHOT" 2>/dev/null || return 1
  local box
  box=$(convert "$SHOT" -fill black +opaque "$OFFER" -format "%@" info: 2>/dev/null)
  case "$box" in 0x0*|"") return 1 ;; esac
  echo "$box"
}
offer_shown() { offer_box >/dev/null; }
# A part of the main window's area (it is not maximised without a window
# manager) is one colour other than the bare screen's black: the window is
# drawn, with nothing on its background.
background_plain() {
  import -window root "$SHOT" 2>/dev/null || return 1
  local middle="-crop 300x200+200+200 +repage"
  [ "$(convert "$SHOT" $middle -format %k info:)" = 1 ] &&
    [ "$(convert "$SHOT" $middle -format "%[fx:p{0,0}.r+p{0,0}.g+p{0,0}.b>0]" info:)" = 1 ]
}
offer_gone() { ! offer_box >/dev/null; }

# The pointer away from the guide: a box under it is drawn hovered.
xdotool mousemove 1 1
start_app
wait_for "the demo school on offer" 30 offer_shown
BOX=$(offer_box)
W=${BOX%%x*}; REST=${BOX#*x}; H=${REST%%+*}; REST=${REST#*+}; X=${REST%%+*}; Y=${REST#*+}
[ "$W" -ge 60 ] && [ "$H" -ge 16 ] || fail "the offer is too small to read: $BOX"
xdotool mousemove --sync $((X + W / 2)) $((Y + H / 2)) click 1
xdotool mousemove 1 1
wait_for "the question" 30 window_named "Warning"
focus_window "Warning"
keys alt+y
wait_for "the demo school in the data file" 60 sql_equals "select count(*) from TTerm" "3"
sql_equals "select count(*) from TClass" "4" || fail "the demo school has not its four classes"
sql_equals "PRAGMA integrity_check" "ok" || fail "the data file is not sound"
wait_for "the offer to go" 30 offer_gone

# Hidden from the help menu, and still hidden at the next start: the choice
# is written when the program ends.
focus_window "Quorvel学生成绩管理系统"
keys alt+h
sleep 0.3
keys w
keys alt+s
sleep 0.3
keys x
wait_for "the program to end" 30 bash -c "! kill -0 $APP_PID"
APP_PID=""
grep -q "showGuide=false" "$SETTINGS" || fail "hiding the guide was not remembered"
sql "delete from TGrade; delete from THonoursStd; delete from TStudent; delete from TClassToSubject;
     delete from TTermToClass; delete from TClass; delete from TSubject; delete from TTerm;"
start_app
# Empty again, but the guide stays hidden: the background is bare, no offer is drawn.
wait_for "the main window with its background bare" 30 background_plain
offer_gone || fail "the guide showed although it was hidden"
focus_window "Quorvel学生成绩管理系统"
keys alt+h
sleep 0.3
keys w
wait_for "the demo school on offer again" 30 offer_shown
keys alt+s
sleep 0.3
keys x
wait_for "the program to end" 30 bash -c "! kill -0 $APP_PID"
APP_PID=""
grep -q "showGuide=true" "$SETTINGS" || fail "showing the guide again was not remembered"
echo "e2e guide: ok"
