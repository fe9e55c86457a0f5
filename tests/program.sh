#!/usr/bin/env bash
# program.sh SLOPE-SUPPORT VERSION: the window program's command line. --help and --version need
# no display; an unknown option is refused; a start without the wall pictures beside the program
# says which is missing and still reaches its first frame; no library is taken from the folder it
# is started from.
set -u
program=$1 version=$2
failed=0
fail() { echo "$*"; failed=1; }
bare() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"; }

[[ $(bare "$program" --version) == "slope-support $version" ]] || fail "--version"
[[ $(bare "$program" --help) == *"usage: slope-support [FILE.slope ...]"* ]] || fail "--help"
bare "$program" >/dev/null 2>&1
[[ $? -eq 1 ]] || fail "no display: status 1 expected"

QT_QPA_PLATFORM=offscreen "$program" --frobnicate >/dev/null 2>&1
[[ $? -eq 2 ]] || fail "an unknown option: status 2 expected"

alone=$(mktemp -d)
trap 'rm -rf "$alone"' EXIT
cp "$program" "$alone/"
errors=$(QT_QPA_PLATFORM=offscreen SLOPE_EXIT_AFTER_FIRST_FRAME=1 "$alone/slope-support" 2>&1)
[[ $? -eq 0 ]] || fail "no first frame without the pictures"
[[ $errors == *"the wall picture $alone/pictures/11.bmp is missing"* ]] ||
    fail "the missing picture not named: $errors"
errors=$(QT_QPA_PLATFORM=offscreen SLOPE_EXIT_AFTER_FIRST_FRAME=1 "$program" 2>&1)
[[ $errors != *missing* ]] || fail "pictures beside the program reported missing: $errors"
# the libraries are never looked for in the folder the program is started from: a broken
# libQt6Core.so.6 there is not the one it loads
mkdir "$alone/planted"
: >"$alone/planted/libQt6Core.so.6"
(cd "$alone/planted" && QT_QPA_PLATFORM=offscreen SLOPE_EXIT_AFTER_FIRST_FRAME=1 "$program" \
    >/dev/null 2>&1) || fail "a library in the folder started from was loaded"
# a file-size limit fails the program's writes (here its settings, on the way out after opening a
# file) but never ends it
cp "$(dirname "$0")/fuzz/seeds/fuzz_savedfile/s3" "$alone/a.slope" # an anchor
status=$( (ulimit -f 0; HOME=$alone XDG_CONFIG_HOME=$alone/config QT_QPA_PLATFORM=offscreen \
    SLOPE_EXIT_AFTER_FIRST_FRAME=1 "$program" "$alone/a.slope" >/dev/null 2>&1; echo $?) | cat)
[[ $status -eq 0 ]] || fail "a file-size limit ended the program: status $status"
# a settings file that is a FIFO is never read (the program would wait on it for ever): the
# program says so, opens the calculation's window and ends
mkdir -p "$alone/fifo/slope-support"
mkfifo "$alone/fifo/slope-support/slope-support.conf"
errors=$(HOME=$alone XDG_CONFIG_HOME=$alone/fifo QT_QPA_PLATFORM=offscreen \
    SLOPE_EXIT_AFTER_FIRST_FRAME=1 timeout 20 "$program" "$alone/a.slope" 2>&1)
status=$?
[[ $status -eq 0 ]] || fail "a FIFO for the settings: status $status"
[[ $errors == *"slope-support.conf is not a regular file"* ]] || fail "the FIFO not named: $errors"
exit $failed
