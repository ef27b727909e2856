#!/usr/bin/env bash
# A clerk's first steps in the built program, with the keyboard alone: adds a
# term through the term window, then backs the data file up from the menu.
source "$(dirname "$0")/lib.sh"

start_app

open_menu_item b t "学期信息维护"
keys alt+a
wait_for "the term dialog" 30 window_named "新增/修改学期信息"
focus_window "新增/修改学期信息"
xdotool type --delay 60 "202601"
keys Return
xdotool type --delay 60 "Spring 2026"
keys Return Return # on to "确认(&E)", then press it
wait_for "the term to be stored" 30 sql_equals "select TermName from TTerm where TermCode=202601" "Spring 2026"
wait_for "the term dialog to close" 30 window_gone "新增/修改学期信息"
focus_window "学期信息维护"
keys alt+x
wait_for "the term window to close" 30 window_gone "学期信息维护"

# The backup proposes Bak/<today>.ZBK; accepting it writes a copy of the data file.
BACKUP="$APP_DIR/Bak/$(date +%Y%m%d).ZBK"
open_menu_item s b "备份文件"
keys Return
wait_for "the backup file" 30 test -s "$BACKUP"
wait_for "the save dialog to close" 30 window_gone "备份文件"
cmp -s "$DATA" "$BACKUP" || fail "the backup differs from the data file"

focus_window "Quorvel学生成绩管理系统"
keys alt+s
sleep 0.3
keys x
wait_for "the program to end" 30 bash -c "! kill -0 $APP_PID"
APP_PID=""
echo "e2e clerk: ok"
