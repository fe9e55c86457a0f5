#!/usr/bin/env bash
# manpages.sh PAGE...: each manual page renders with man(1) without a warning, in a UTF-8 and in
# the C locale, and names its program; slopecalc's lists every subcommand and parameter name
# that `slopecalc --help` lists. The generator of the pages fails with status 1, saying so, where
# it cannot write.
set -u
failed=0
for page in "$@"; do
    for locale in C.UTF-8 C; do
        warnings=$(LC_ALL=$locale man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
        if [[ -n $warnings ]]; then
            echo "$page ($locale): $warnings"
            failed=1
        fi
    done
    text=$(MANWIDTH=80 LC_ALL=C.UTF-8 man -l "$page" 2>&1 | sed "s/‐/-/g; s/−/-/g" | tr -s ' ')
    name=$(basename "$page" .1)
    if [[ $text != *"${name^^}(1)"* || $text != *NAME* || $text != *SYNOPSIS* ]]; then
        echo "$page: no header, NAME or SYNOPSIS"
        failed=1
    fi
    if [[ $name == slopecalc ]]; then
        slopecalc=$(dirname "$page")/../slopecalc
        for command in $("$slopecalc" --help | sed -n 's/^  \([a-z-]*\)  .*/\1/p'); do
            for parameter in $("$slopecalc" "$command" --help | sed -n 's/^  \([A-Za-z0-9_]*\) .*/\1/p'); do
                if [[ $text != *"$parameter=TEXT"* ]]; then
                    echo "$page: no $parameter of $command"
                    failed=1
                fi
            done
            [[ $text == *$'\n'" $command"$'\n'* ]] || { echo "$page: no $command"; failed=1; }
        done
    fi
done
docs=$(dirname "$1")/../cli/slopecalc-docs
said=$("$docs" /nonexistent/slopecalc.1 /dev/null 2026-01-01 /dev/null 2>&1)
status=$?
if [[ $status != 1 || $said != *"cannot write /nonexistent/slopecalc.1"* ]]; then
    echo "slopecalc-docs into a missing folder: status $status, said: $said"
    failed=1
fi
exit $failed
