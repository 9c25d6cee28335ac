#!/bin/sh
# Runs a test program under Wine with its stderr in LOG, then shows that on the real stderr.
# Wine hands every program it starts the stderr of the program that started it, whatever handles
# that program asks for, so this is where the launches traced by Wine in Mirolt.exe end up.
# Usage: wine-with-stderr-log.sh LOG WINE PROGRAM [ARGUMENTS...]
log=$1
shift
"$@" 2>"$log"
status=$?
cat "$log" >&2
exit $status
