#!/usr/bin/env bash
# completion.sh COMPLETION: slopecalc's bash completion offers what slopecalc takes, where it
# takes it. Each case is a command line typed up to the cursor and the words offered.
set -u
source "$1"
COMP_WORDBREAKS=$' \t\n"\'><=;|&(:' # bash's own, with '=' in it
offered() {
    COMP_LINE=$1 COMP_POINT=${#1} COMPREPLY=()
    _slopecalc 2>/dev/null
    echo "${COMPREPLY[*]}"
}
failed=0
while IFS='|' read -r line expected; do
    got=$(offered "$line")
    if [[ $got != "$expected" ]]; then
        echo "'$line': offered '$got', expected '$expected'"
        failed=1
    fi
done <<'CASES'
slopecalc |earth-pressure anchor gravity-wall beam slope-stability wall-pressure anchored-wall anti-slide-pile --help --version --input
slopecalc anchored-wall distribution=|trapezoid 梯形 triangle 三角形 uniform 均布 diagram 土压力图
slopecalc anti-slide-pile method=|m m法 K K法
slopecalc gr|gravity-wall
slopecalc gravity-wall --type |upright shelf
slopecalc earth-pressure --json --mode l|limited-fill
slopecalc anchor --t|--trace --temporary
slopecalc earth-pressure delta|delta= delta_r=
slopecalc beam n=3 upper=f|fixed free
slopecalc beam grade=C4|C40
slopecalc earth-pressure -- --|
slopecalc nonsense |
CASES
exit $failed
