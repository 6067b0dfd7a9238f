#!/usr/bin/env bash
# The bash completion as a shell runs it: the script sourced, the line typed so far, the candidates
# it gives. Usage: completion_test.sh <zpv4870 tool> <source dir>
set -euo pipefail
tool=$1
src=$2
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
ln -s "$tool" "$bin/zpv4870"
export PATH="$bin:$PATH"
# shellcheck source=/dev/null
source "$src/share/bash-completion/zpv4870"

candidates() {  # <line typed so far>: the candidates, one a line
    COMP_LINE=$1
    COMP_POINT=${#COMP_LINE}
    # bash's own word split: blanks, and "=" on its own
    local spaced=${COMP_LINE//=/ = }
    read -ra COMP_WORDS <<< "$spaced"
    [[ $COMP_LINE == *" " || $COMP_LINE == *"=" ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _zpv4870 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}"
}
fail() { echo "$*"; exit 1; }

candidates "zpv4870 " | grep -qx identify || fail "no subcommands"
candidates "zpv4870 get OutputPhase2.VoltageL" | grep -qx OutputPhase2.VoltageLevel || fail "no per-phase names"
candidates "zpv4870 set ManualMode.Ran" | grep -qx "ManualMode.Range=" || fail "set does not offer NAME="
[ "$(candidates "zpv4870 set ManualMode.Range=h")" = "HIGH" ] || fail "no enumeration values after ="
! candidates "zpv4870 set Identity.Instrument" | grep -q . || fail "set offers read-only attributes"
candidates "zpv4870 list run --cs" | grep -qx -- "--csv" || fail "no options"
echo "bash completion offers commands, names, values and options"
