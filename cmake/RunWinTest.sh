#!/usr/bin/env bash
# Runs one Windows test program under its emulator for CTest:
#   bash RunWinTest.sh EMULATOR PROGRAM [ARGUMENT ...]
# The program writes to a file rather than to CTest's pipe: a background process of Wine that the
# program happens to start (the services, the desktop) keeps the streams it inherited open, and
# CTest would wait on its pipe until the time-out. What the program prints is passed on as it comes.
# When it ends without GoogleTest's closing line, or ends abnormally after all its tests passed,
# a note follows: how the emulator ended, whether the program printed anything, and which of
# Wine's processes of the same prefix were running then. A program that could not even start
# thus never fails silently.
set -u
emulator=$1
shift
program=$1
log=$(mktemp "${TMPDIR:-/tmp}/pw-win-test.XXXXXX") || exit 1
trap 'rm -f "$log"' EXIT

started=$(date +%s%N)
"$emulator" "$@" >"$log" 2>&1 &
program_pid=$!
# Passed on as it comes, so that a program stopped at CTest's time-out has shown how far it got.
tail -n +1 -s 0.1 -f --pid="$program_pid" "$log" &
tail_pid=$!
wait "$program_pid"
rc=$?
wait "$tail_pid"
elapsed=$(( ($(date +%s%N) - started) / 1000000 ))

# GoogleTest ends every run it finishes with this line, whatever its results.
summary='^\[==========\] [0-9]+ tests? from [0-9]+ test (suites?|cases?) ran\.'
if grep -Eq "$summary" "$log"; then
  # A run that reported failures says why itself; one that passed everything should end with 0.
  if [ "$rc" -eq 0 ] || grep -q '^\[  FAILED  \]' "$log"; then
    exit "$rc"
  fi
  what="ran all its tests and they passed, but ended abnormally"
else
  what="did not finish its tests (no GoogleTest summary)"
fi

if [ "$rc" -gt 128 ] && [ "$rc" -lt 160 ]; then
  how="was killed by signal $(kill -l $((rc - 128)) 2>/dev/null || echo $((rc - 128)))"
else
  how="ended with exit code $rc (a Windows exit code keeps its low 8 bits)"
fi
echo
echo "==== $(basename "$program") $what"
echo "     the emulator ($emulator) $how after $((elapsed / 1000)).$(printf '%03d' $((elapsed % 1000))) s"
if [ -s "$log" ]; then
  echo "     what it printed is above ($(wc -l <"$log") lines); WINEDEBUG=${WINEDEBUG:-(unset)}"
else
  echo "     it printed nothing at all; WINEDEBUG=${WINEDEBUG:-(unset)} (err+all shows Wine's own errors)"
fi
echo "     the prefix ${WINEPREFIX:-(default)}: $([ -f "${WINEPREFIX:-$HOME/.wine}/system.reg" ] && echo "its registry is on disk" || echo "no registry on disk yet")"
echo "     Wine's processes of this prefix then running:"
found=0
for dir in /proc/[0-9]*; do
  [ -r "$dir/cmdline" ] && [ "${dir#/proc/}" != $$ ] || continue
  line=$( { tr '\0' ' ' <"$dir/cmdline"; } 2>/dev/null | sed 's/ *$//')
  case "$line" in *.exe*|*wineserver*|*wine64*|*'C:\'*) ;; *) continue ;; esac
  # Only this run's Wine: other prefixes on the machine are none of its business.
  env=$( { tr '\0' '\n' <"$dir/environ"; } 2>/dev/null | grep -m1 '^WINEPREFIX=')
  [ "$env" = "WINEPREFIX=${WINEPREFIX:-}" ] || [ -z "${WINEPREFIX:-}" ] || continue
  echo "       ${dir#/proc/} $line"
  found=1
done
[ $found -eq 1 ] || echo "       (none)"
[ "$rc" -ne 0 ] && exit "$rc"
exit 1
