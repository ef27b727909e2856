#!/usr/bin/env bash
# A teacher types a column of scores into 成绩快速录入, opened through the
# menu, with the keyboard alone once the class is clicked; every Enter is in
# the data file at once, and Ctrl+Z takes the last one back.
source "$(dirname "$0")/lib.sh"

sql "insert into TTerm (TermCode, TermName) values (1, '2024春');
     insert into TClass (ClassCode, ClassName) values ('C1', '一班');
     insert into TSubject (SubjCode, SubjName) values ('CN', '语文'), ('MA', '数学');
     insert into TTermToClass (TermCode, ClassCode) values (1, 'C1');
     insert into TClassToSubject (TermCode, ClassCode, SubjCode) values (1, 'C1', 'CN'), (1, 'C1', 'MA');
     insert into TStudent (ClassCode, SName, SNumber) values ('C1', 'Ann', '1'), ('C1', 'Bob', '2'), ('C1', 'Cat', '3');"

# A window manager maximises the main window, so the navigator's nodes
# stand where its rows are measured from. It takes over the shown main
# window: started first, it races with the program's first map on a loaded
# machine.
MAIN="Quorvel学生成绩管理系统"
start_app
start_wm
wait_for "the main window's frame" 30 has_frame "$MAIN"
focus_window "$MAIN"
keys alt+r
sleep 0.3
keys k
# A maximised MDI child names itself in the main window's title.
wait_for "the quick entry window" 30 window_named "$MAIN - \\[成绩快速录入\\]"

# The navigator's first term node, then its first class node, one row below.
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name "^$MAIN" | head -1)")"
xdotool mousemove $((X + 100)) $((Y + 64)) click 1
sleep 0.5
xdotool mousemove $((X + 100)) $((Y + 82)) click 1

# Down the first subject's column, then on to the next subject's first student.
xdotool type --delay 80 "85"
keys Return
xdotool type --delay 80 "59.5"
keys Return
xdotool type --delay 80 "100"
keys Return
xdotool type --delay 80 "61"
keys Return
ROWS="select s.SName || ' ' || g.SubjectCode || ' ' || g.Score from TGrade g join TStudent s on s.ID = g.StudentID where g.TermCode = 1 and g.ClassCode = 'C1' order by g.ID"
wait_for "the typed scores" 30 sql_equals "$ROWS" "$(printf 'Ann CN 85.0\nBob CN 59.5\nCat CN 100.0\nAnn MA 61.0')"

keys ctrl+z
wait_for "the last score taken back" 30 sql_equals "$ROWS" "$(printf 'Ann CN 85.0\nBob CN 59.5\nCat CN 100.0')"

focus_window "$MAIN - \\[成绩快速录入\\]"
keys alt+s
sleep 0.3
keys x
wait_for "the program to end" 30 bash -c "! kill -0 $APP_PID"
APP_PID=""
echo "e2e quickentry: ok"
