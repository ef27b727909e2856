#!/usr/bin/env bash
# The built program starts on an empty data file, shows its main window with
# the menu, opens the About dialog from the menu, and exits from the menu.
source "$(dirname "$0")/lib.sh"

# No window manager: xdotool gives the focus itself, and a window manager
# starting up races with the program's first windows on a loaded machine.
start_app

open_menu_item h a "关于.."
keys Return
wait_for "the About dialog to close" 20 window_gone "关于.."

focus_window "Quorvel学生成绩管理系统"
keys alt+s
sleep 0.3
keys x
wait_for "the program to end" 30 bash -c "! kill -0 $APP_PID"
APP_PID=""
echo "e2e main: ok"
