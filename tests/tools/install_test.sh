#!/usr/bin/env bash
# cmake --install into a fresh prefix: the programs, the library and the
# read-only files land in the FHS places, the desktop entry is valid, and the
# installed Zelsal, started by the entry's Exec from the prefix's bin/ on the
# PATH (its library and help found from its own folder, not the build tree),
# starts headless, shows its help and ends with " Zakończ ".
# Usage: install_test.sh BUILD_DIR
set -uo pipefail
build=$1
. "$(dirname "$0")/script_test_common.sh"

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
for f in bin/Zelsal bin/Zelsetup "$libdir/libZelkit5.so" share/zelsal/ZELM.HLP share/zelsal/ZELM.IND \
         share/zelsal/he12x32.fnt share/zelsal/lport.fnt share/applications/zelsal.desktop \
         share/icons/hicolor/scalable/apps/zelsal.svg; do
  [ -f "$prefix/$f" ] || fail "$f not installed"
done
desktop-file-validate "$prefix/share/applications/zelsal.desktop" || fail "the desktop entry is not valid"
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/zelsal.desktop")
[ "$exec_line" = Zelsal ] || fail "Exec is '$exec_line', not the program on the PATH"

# The library from the prefix, not the build tree; the help files found
# from the program's own folder (the help window, not "Brak zbioru ...").
mkdir -p "$work/home" "$work/start"
run() {
  (cd "$work/start" && env -u LD_LIBRARY_PATH ZELSAL_HOME="$work/home" ZELKIT_DISPLAY=headless \
     ZELKIT_KEYS="$1" ZELKIT_DUMP="$work/screen.txt" LD_DEBUG=libs PATH="$prefix/bin:$PATH" $exec_line >"$work/out.txt" 2>&1)
}
run 'x{ALT+H}'
[ $? -eq 3 ] || fail "the help run did not wait in the help: $(cat "$work/out.txt")"
grep -q "Brak zbioru" "$work/screen.txt" && fail "the help files were not found"
grep -q " POMOC " "$work/screen.txt" || fail "the help window was not shown: $(cat "$work/screen.txt")"
run 'xz'
status=$?
[ $status -eq 0 ] || fail "the installed Zelsal ended with $status: $(cat "$work/out.txt")"
grep -q "calling init: $prefix/.*libZelkit5\.so" "$work/out.txt" || fail "the library was not taken from the prefix"
grep -q " START  Katalogi " "$work/screen.txt" || fail "the main bar was not shown"

[ $failures -eq 0 ] && echo "install: ok"
exit $((failures > 0))
