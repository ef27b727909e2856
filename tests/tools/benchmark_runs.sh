#!/bin/bash
# The benchmark once through every action on a freshly built school. Its
# figures depend on the machine and are not judged here; a crash, a refused
# argument or a measurement that went wrong (nothing painted, a message box
# nobody expected) is a fault.
set -u
benchmark=$1
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
env -u QT_QPA_PLATFORM "$benchmark" --factors 1 --runs 1 --rounds 1 >"$out" 2>"$err"
rc=$?
cat "$out"
if [ "$rc" -gt 1 ]; then
    echo "benchmark ended with $rc" >&2
    cat "$err" >&2
    exit 1
fi
if grep -q '^warning:' "$err"; then
    grep '^warning:' "$err" >&2
    exit 1
fi
grep -q -e 'every target met' -e 'some targets missed' "$out" || { echo "no verdict printed" >&2; exit 1; }
for figure in 'start-up until the main window is shown' 'open 成绩统计/查询' '成绩统计: 过滤并排序' \
    '成绩录入: change of the current student' '学生基本资料维护: roster of a class' \
    'one-row transaction' '成绩初始化: one student' '标准初始化: one class' '成绩快速录入: click on a class' \
    '成绩快速录入: Enter stores' '成绩快速录入: paste' "成绩统计: a class's table to PDF" \
    "成绩统计: a class's table in the print preview" "成绩通知单: a class's report cards to PDF" \
    '成绩统计: export a class' '学生名单: import a school' '成绩: import a term' '^database .* MB; peak memory'; do
    grep -q -e "$figure" "$out" || { echo "missing figure: $figure" >&2; exit 1; }
done
