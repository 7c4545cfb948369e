#!/bin/sh
# Makes the man page tlxexport(1) from the usage texts the program prints:
#   make-manpage.sh TLXEXPORT TEMPLATE VERSION DATE OUTPUT
# TEMPLATE holds the hand-written sections; the lines @SYNOPSIS@, @COMMANDS@
# and @EXIT_STATUS@ are filled from `tlxexport --help` and from every
# `tlxexport COMMAND --help`, so a command or an option added to those texts
# appears in the page without touching it.
set -eu
tlx=$1 template=$2 version=$3 date=$4 output=$5
awk_script=$(dirname "$0")/help-to-roff.awk
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TLXEXPORT_LANG=en

"$tlx" --help >"$work/usage"
awk -v part=synopsis -f "$awk_script" "$work/usage" >"$work/synopsis"
awk -v part=exit -f "$awk_script" "$work/usage" >"$work/exit"
: >"$work/commands"
for command in $(awk '$1 == "tlxexport" && $2 !~ /^-/ { print $2 }' "$work/usage"); do
    "$tlx" "$command" --help >"$work/help"
    awk -v part=command -v command="$command" -f "$awk_script" "$work/help" >>"$work/commands"
done
for part in synopsis exit commands; do
    if [ ! -s "$work/$part" ]; then
        echo "make-manpage: no $part found in the usage texts of $tlx" >&2
        exit 1
    fi
done

awk -v work="$work" -v version="$version" -v date="$date" '
    function insert(file,    line) { while ((getline line < file) > 0) print line; close(file) }
    /^@SYNOPSIS@$/ { insert(work "/synopsis"); next }
    /^@COMMANDS@$/ { insert(work "/commands"); next }
    /^@EXIT_STATUS@$/ { insert(work "/exit"); next }
    { gsub(/@VERSION@/, version); gsub(/@DATE@/, date); print }
' "$template" >"$output.tmp"
mv "$output.tmp" "$output"
