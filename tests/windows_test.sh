#!/usr/bin/env bash
# The Windows build under Wine. `pictures`: its frames tool draws the Linux one's picture in the
# same views, to a few pixels on edges. `zip`: the zip as a user has it: one folder with vexo.exe,
# its README and licence; an executable that needs only Windows' own DLLs, opens no console and
# carries Vexo's icon and version; --help, --version and a refused option answered; then the
# window driven: "Vexo", 250 x 250, the lit die spinning, space after a click, an Alt-drag and
# then a key that still reaches the program, Ctrl+Alt+Escape and "Quitter" each ending it with
# status 0, and a window destroyed from outside ending it with status 1.
# Needs an X server and the Wine prefix windows-test.sh prepares.
# Usage: windows_test.sh pictures FRAMES.EXE LINUX_FRAMES (picture_diff beside it), or
# windows_test.sh zip ZIP
# shellcheck source=../scripts/lib.sh
source "$(dirname "$0")/../scripts/lib.sh"
scripts=$(cd "$(dirname "$0")/../scripts" && pwd)
work=$(mktemp -d)
trap 'kill ${pid:-} 2>/dev/null || true; rm -rf "$work"' EXIT
mingw=x86_64-w64-mingw32

if [[ $1 == pictures ]]; then
    # shellcheck disable=SC2086  # a view is the frames tool's arguments, split on spaces
    for view in "250x250" "250x250 x x x x x x y y y y y y y" "300x200 Enter y y y y y y z z x x x"; do
        timeout 60 wine "$2" "$(winepath -w "$work/windows.ppm")" $view 2>/dev/null
        "$3" "$work/linux.ppm" $view
        tolerance=0.01
        [[ $view != *Enter* ]] || tolerance=0.08  # outlines are a pixel wide
        "$(dirname "$3")/picture_diff" "$work/linux.ppm" "$work/windows.ppm" $tolerance ||
            fail "$view: the Windows picture is not the Linux one"
    done
    echo "The Windows build draws the Linux picture"
    exit 0
fi
zip=$2
unzip -q "$zip" -d "$work"
name=$(basename "$zip" .zip)
[[ $(cd "$work" && find . -type f | sort | tr '\n' ' ') == "./$name/LICENSE.txt ./$name/README.txt ./$name/vexo.exe " ]] ||
    fail "the zip holds $(cd "$work" && find . | tr '\n' ' ')"
# Fixed modes whatever the builder's umask, and text with Windows' line ends.
[[ $(zipinfo "$zip" | awk '/^-/ { print $1, $NF }' | sort -k2 | tr '\n' ' ') == \
    "-rw-r--r-- $name/LICENSE.txt -rw-r--r-- $name/README.txt -rwxr-xr-x $name/vexo.exe " ]] ||
    fail "the zip's modes: $(zipinfo "$zip")"
for text in README LICENSE; do
    ! grep -qv $'\r$' "$work/$name/$text.txt" || fail "$text.txt has lines without a carriage return"
done
exe=$work/$name/vexo.exe
version=${name#vexo-}
version=${version%-windows-x86_64}

headers=$("$mingw-objdump" -p "$exe")
dlls=$(awk '/DLL Name:/ { print $3 }' <<<"$headers" | sort -f | tr '\n' ' ')
[[ $dlls == "ADVAPI32.dll GDI32.dll KERNEL32.dll msvcrt.dll OPENGL32.dll USER32.dll WINMM.dll " ]] ||
    fail "vexo.exe needs more than Windows' own DLLs: $dlls"
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "vexo.exe would open a console"
resources=$("$mingw-windres" -i "$exe" -O rc)
grep -q '^"GLUT_ICON" 14 ' <<<"$resources" || fail "vexo.exe carries no icon"
grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" || fail "vexo.exe carries no version $version"
grep -q 'PerMonitorV2' <<<"$resources" || fail "vexo.exe declares no per-monitor DPI awareness"

# Windows ends its lines with a carriage return.
vexo() { timeout 20 wine "$exe" "$@" | tr -d '\r'; }
[[ $(vexo --version) == "vexo $version" ]] || fail "--version: $(vexo --version)"
vexo --help | grep -q '^Usage: vexo' || fail "--help: $(vexo --help | head -n 3)"
# The controls, indented by two spaces and what each does by six.
controls() { grep -E '^  ( {4})?[^ ]' | tr -d '\r'; }
[[ $(controls <"$work/$name/README.txt") == "$(vexo --help | controls)" ]] ||
    fail "README.txt's controls are not those of --help"
status=0
said=$(timeout 20 wine "$exe" --verison 2>&1 >/dev/null | tr -d '\r'; exit "${PIPESTATUS[0]}") || status=$?
# (freeglut says first that it cannot read DISPLAY as a Windows display name: Wine's own.)
[[ $status -eq 1 ]] && grep -qx "vexo: unknown option '--verison'" <<<"$said" ||
    fail "a refused option: status $status, $said"

# Starts vexo.exe and finds the window it draws in; Wine draws the frame, GLUT the child.
start() {
    wine "$exe" 2>"$work/err" &
    pid=$!
    frame=$("$scripts/vexo-window.sh" "$pid" 10 '^Vexo$') || fail "no window named Vexo"
    wait_until 10 drawn || fail "nothing drawn in the window"
}
# GLUT's child of Wine's frame, once it has drawn the die.
drawn() {
    win=$(xwininfo -children -id "$frame" | awk '/^ +0x/ { print $1; exit }')
    win=${win:-$frame}
    shows_die "$(die)"
}
geometry() { xwininfo -id "$win" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
shot() { xwd -silent -id "$win" | convert xwd:- -depth 8 rgb:- | md5sum; }
# The share of the drawing area that is not the grey background.
die() { xwd -silent -id "$win" >"$work/window.xwd" && die_share "xwd:$work/window.xwd"; }
# Whether the picture changes, seen within a bound however busy the machine; and whether it
# stays the same for a third of a second, which a spinning die never does.
moving() { local a; a=$(shot); wait_until 10 changed_from "$a" 2>/dev/null; }
changed_from() { [[ $(shot) != "$1" ]]; }
still() { local a; a=$(shot); sleep 0.3; [[ $(shot) == "$a" ]]; }
# How many top-level windows are shown: Wine's menu is one of its own.
shown_windows() {
    local id n=0
    for id in $(xwininfo -root -children | awk '/^ +0x/ { print $1 }'); do
        ! xwininfo -id "$id" 2>/dev/null | grep -q IsViewable || n=$((n + 1))
    done
    echo "$n"
}
ended() { wait_exit "$pid" 10; [[ $exit_status -eq 0 ]] || fail "$1 ended it with status $exit_status"; }

start
[[ $(geometry) == 250x250 ]] || fail "the drawing area is $(geometry)"
shows_die "$(die)" || fail "no die in the window ($(die) of it)"
moving || fail "the die does not spin"
xdo mousemove --window "$win" 125 125 click 1 sleep 0.3 key space
wait_until 10 still || fail "space after a click did not stop the spin"
drag_in "$win" 100 100 alt 40 20
xdo key space
moving || fail "after an Alt-drag, space no longer reached the program"
# Ctrl+Alt is AltGr to Windows, which makes no character of Escape.
xdo key ctrl+alt+Escape
ended Ctrl+Alt+Escape

# Its window destroyed by another program: status 1 and one line, as on Linux.
start
xdo windowclose "$frame"
wait_exit "$pid" 10
# (After freeglut's word on DISPLAY, as for a refused option.)
said=$(tr -d '\r' <"$work/err" | grep -v -e '^freeglut .*CreateDC failed' -e "bad '-display'" || true)
[[ $exit_status -eq 1 && $said == "vexo: the window was destroyed by another program" ]] ||
    fail "a window destroyed from outside: status $exit_status, said: $said"

start
# shellcheck disable=SC2034  # read by the eval below
windows=$(shown_windows)
xdo mousemove --window "$win" 100 100 click 3
wait_until 10 eval '(($(shown_windows) > windows))' || fail "the right button opened no menu"
xdo mousemove --window "$win" 115 108 click 1
ended '"Quitter"'
echo "$(basename "$zip"): self-contained, answers its command line, and draws, stops, pans, quits and ends with its window under Wine"
