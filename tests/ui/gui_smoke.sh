#!/usr/bin/env bash
# Starts the real program on a private X display with a window manager and uses it as a user
# would: snaps the palette to the screen's edge, clicks "Repaint", checks a few cells of the
# wheel on a screenshot, fills a cell, describes a day and reads its hint, drags the wheel,
# opens both panels, types a radius and drags a panel by its caption,
# clicks "Exit" and checks that the settings file was written, then opens a design named on the
# command line, recovers a changed design after kill -9, and shows the same wheel on a desktop
# scaled to 200%.
# Usage: gui_smoke.sh PATH/TO/gyrodex. Exit status 77 (skipped) when no X server can be started.
set -uo pipefail
program=$(realpath "$1")

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }
for tool in Xvfb openbox xdotool import convert; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
done

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    sleep 0.2
    for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

# The program keeps its settings beside itself: run a copy in a private folder.
mkdir -p "$work/bin" "$work/config"
cp "$program" "$work/bin/gyrodex"

n=70
while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
export DISPLAY=:$n
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null 2>&1 || skip "no X server could be started"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

unset QT_QPA_PLATFORM WAYLAND_DISPLAY
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" "$work/bin/gyrodex" >"$work/out.txt" 2>&1 &
app=$!
pids+=($app)

palette=$(timeout 20 xdotool search --sync --name '^Gyrodex v1\.1$' | head -1)
[[ -n "$palette" ]] || fail "the palette window did not appear"
timeout 20 xdotool search --sync --name '^Gyrodex v1\.0' >/dev/null || fail "no main window"
sleep 1

# Position of the palette's client area: x y.
where() { xwininfo -id "$palette" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }'; }
# Position of the palette's frame (openbox's decoration window around it): x y.
frame() {
    local parent
    parent=$(xwininfo -id "$palette" -tree | awk '/Parent window id/ { print $4 }')
    xwininfo -id "$parent" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }'
}

# A programmatic move to x = 10 ends flush with the left edge.
xdotool windowmove "$palette" 300 400
sleep 0.5
xdotool windowmove "$palette" 10 400
sleep 0.8
read -r fx fy < <(frame)
[[ "$fx" == 0 ]] || fail "palette moved to x = 10 was left at x = $fx, not snapped to 0"
echo "programmatic move to x = 10 snapped to x = $fx"

# A drag by the title bar (between the window icon and the buttons) to 10 pixels from the
# right edge ends flush with it.
xdotool windowmove "$palette" 500 400
sleep 0.5
read -r fx fy < <(frame)
read -r width _ < <(xwininfo -id "$(xwininfo -id "$palette" -tree | awk '/Parent window id/ { print $4 }')" | awk '/Width/ { w = $2 } /Height/ { h = $2 } END { print w, h }')
grab_x=$((fx + 23))
grab_y=$((fy + 10))
target=$((1280 - width - 10))
xdotool mousemove "$grab_x" "$grab_y" mousedown 1
for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $((grab_x + (target - fx) * step / 8)) $((grab_y + step * 5))
    sleep 0.1
done
sleep 0.3
xdotool mouseup 1
sleep 0.8
read -r fx fy < <(frame)
[[ "$fx" == $((1280 - width)) ]] || fail "palette dragged 10 pixels from the right edge was left at x = $fx, not $((1280 - width))"
echo "title-bar drag to 10 pixels from the right edge snapped to x = $fx (frame width $width)"

# "Repaint", then a look at the wheel.
read -r cx cy < <(where)
area_top=$((cy + $(xwininfo -id "$palette" | awk '/Height/ { print $2 }') - 244))
xdotool mousemove $((cx + 30)) $((area_top + 10)) click 1
sleep 1
import -window root "$work/shot.png" || fail "no screenshot"
pixel() { convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:; }
# The default wheel: centre (640, 512), radius 360, rings 24 high, weeks 30 and 40 lie in the future.
point() { # spoke ring -> x y, a little inside the cell's first corner, away from its number
    awk -v k="$1" -v r="$2" 'BEGIN { a = (k + 0.2) * 2 * 3.14159265358979 / 52; rho = 360 - 24 * r + 6;
        printf "%d %d\n", 640 + rho * cos(a), 512 + rho * sin(a) }'
}
check() { # spoke ring expected-rgb what
    local x y got
    read -r x y < <(point "$1" "$2")
    got=$(pixel "$x" "$y")
    [[ "$got" == "$3" ]] || fail "$4 at ($x, $y) is $got, not $3"
    echo "$4 at ($x, $y): $got"
}
check 30 1 255,255,128 "week day cell (spoke 30, ring 1)"
check 40 3 255,255,128 "week day cell (spoke 40, ring 3)"
check 30 7 255,128,0 "weekend cell (spoke 30, ring 7)"
check 45 6 255,128,0 "weekend cell (spoke 45, ring 6)"
got=$(pixel 640 512)
[[ "$got" == 111,92,209 ]] || fail "background at the centre is $got"
echo "background at the centre: $got"

# The canvas tools: "Fill" paints a week day cell in the current colour (white).
shot() { sleep 0.8; import -window root "$work/shot.png" || fail "no screenshot"; }
tool() { xdotool mousemove $((cx + $1)) $((area_top + $2)) click 1; sleep 0.3; }
tool 12 172
read -r fill_x fill_y < <(point 30 1)
xdotool mousemove "$fill_x" "$fill_y" click 1
shot
check 30 1 255,255,255 "cell filled with Fill (spoke 30, ring 1)"

# "Text" describes a day in the single-day dialog; hovering it then shows the hint below the
# pointer, in its blue.
tool 37 172
read -r text_x text_y < <(point 40 3)
xdotool mousemove "$text_x" "$text_y" click 1
timeout 10 xdotool search --sync --name '^Highlight Day$' >/dev/null || fail "no single-day dialog"
sleep 0.5
xdotool type "Party"
xdotool key Return
sleep 0.5
xdotool mousemove $((text_x + 3)) $((text_y + 3))
sleep 0.2
xdotool mousemove "$text_x" "$text_y"
shot
got=$(pixel $((text_x - 1)) $((text_y + 23)))
[[ "$got" == 128,128,255 ]] || fail "no hint below the pointer at ($text_x, $text_y): $got"
echo "hint over the described day at ($text_x, $text_y): $got"

# "Pointer" drags the wheel 30 pixels right and 10 up: the filled cell moves with it.
tool 12 147
xdotool mousemove 100 100 mousedown 1
sleep 0.2
xdotool mousemove 115 95
sleep 0.2
xdotool mousemove 130 90 mouseup 1
shot
got=$(pixel $((fill_x + 30)) $((fill_y - 10)))
[[ "$got" == 255,255,255 ]] || fail "the filled cell did not move with the drag: $got"
got=$(pixel 670 502)
[[ "$got" == 111,92,209 ]] || fail "background at the moved centre is $got"
echo "drag moved the wheel by 30, -10"

# The two panels from the palette; a radius typed into the properties panel repaints the wheel
# at once, smaller, around the centre the drag above moved to (670, 502).
# The properties panel, shown last, lies over the colours panel where they overlap.
xdotool mousemove $((cx + 30)) $((area_top + 48)) click 1
colours=$(timeout 10 xdotool search --sync --name '^Colors$' | head -1)
[[ -n "$colours" ]] || fail "\"Colors >>\" showed no colours panel"
sleep 0.3
xdotool mousemove $((cx + 30)) $((area_top + 29)) click 1
props=$(timeout 10 xdotool search --sync --name '^Calendar Properties$' | head -1)
[[ -n "$props" ]] || fail "\"Properties >>\" showed no properties panel"
sleep 0.5
origin() { xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }'; }
read -r px py < <(origin "$props")
[[ "$px $py" == "443 458" ]] || fail "the properties panel opened at $px, $py, not centred at 443, 458"
xdotool mousemove $((px + 104)) $((py + 30)) click 1 key ctrl+a type 200
sleep 1
import -window root "$work/shot.png" || fail "no screenshot"
old_cell=$(awk 'BEGIN { a = 45.2 * 2 * 3.14159265358979 / 52; printf "%d %d\n", 670 + 342 * cos(a), 502 + 342 * sin(a) }')
new_cell=$(awk 'BEGIN { a = 45.2 * 2 * 3.14159265358979 / 52; printf "%d %d\n", 670 + 182 * cos(a), 502 + 182 * sin(a) }')
got=$(pixel ${old_cell% *} ${old_cell#* })
[[ "$got" == 111,92,209 ]] || fail "after radius 200 the old ring 1 at ($old_cell) is $got, not the background"
got=$(pixel ${new_cell% *} ${new_cell#* })
[[ "$got" == 255,255,128 ]] || fail "after radius 200 the new ring 1 at ($new_cell) is $got, not a week day"
echo "radius 200 typed: old ring 1 at ($old_cell) is background, new ring 1 at ($new_cell) a week day"

# Dragged by its caption, the panel follows the pointer and stops at the screen's edges.
drag() { # from-x from-y to-x to-y
    xdotool mousemove "$1" "$2" mousedown 1
    for step in 1 2 3 4 5 6; do
        xdotool mousemove $(($1 + ($3 - $1) * step / 6)) $(($2 + ($4 - $2) * step / 6))
        sleep 0.05
    done
    xdotool mouseup 1
    sleep 0.5
}
drag $((px + 200)) $((py + 7)) $((px + 100)) $((py - 200))
read -r qx qy < <(origin "$props")
[[ "$qx $qy" == "$((px - 100)) $((py - 207))" ]] || fail "the panel dragged by (-100, -207) is at $qx, $qy"
drag $((qx + 200)) $((qy + 7)) 0 0
read -r qx qy < <(origin "$props")
[[ "$qx $qy" == "0 0" ]] || fail "the panel dragged past the top left corner is at $qx, $qy"
echo "properties panel dragged by its caption to $((px - 100)), $((py - 207)), then stopped at 0, 0"

# Running: the process exists and is not a zombie waiting for this script.
running() { [[ -r /proc/$app/status ]] && ! grep -q '^State:.*zombie' "/proc/$app/status"; }

# The design has changes: "Exit" asks whether to save them, and Cancel (Escape) keeps the
# program running.
xdotool mousemove $((cx + 30)) $((area_top + 124)) click 1
question=$(timeout 10 xdotool search --sync --name '^Gyrodex v1\.0$' | head -1)
[[ -n "$question" ]] || fail "\"Exit\" of a changed design asked nothing"
xdotool windowactivate --sync "$question" key Escape
sleep 0.8
running || fail "Cancel of the question ended the program"
echo "Exit of the changed design asked first; Cancel kept the program"

# Undo from the keyboard gives back every step (radius, drag, text, fill): the wheel is as it
# was before them, and the design unchanged again, so "Exit" asks nothing.
xdotool mousemove $((cx + 70)) $((area_top + 236)) click 1
for _ in 1 2 3 4 5 6; do xdotool key ctrl+z; sleep 0.3; done
shot
check 30 1 255,255,128 "week day cell after undoing the fill (spoke 30, ring 1)"
got=$(pixel 640 512)
[[ "$got" == 111,92,209 ]] || fail "after undoing the drag the background at the centre is $got"
echo "Ctrl+Z undid the radius, the drag, the description and the fill"

# "Exit" ends the program, which writes its settings file.
xdotool mousemove $((cx + 30)) $((area_top + 124)) click 1
for _ in $(seq 50); do running || break; sleep 0.1; done
if running; then
    import -window root "${GUI_SMOKE_SHOTS:-$work}/exit.png"
    fail "the program is still running after Exit: $(cat "$work/out.txt")"
fi
[[ -f "$work/bin/gyrodex.ini" ]] || fail "no settings file after Exit: $(cat "$work/out.txt")"
grep -q "HintType=0" "$work/bin/gyrodex.ini" || fail "settings file without HintType"
echo "Exit ended the program and wrote $(tr -d '\r' < "$work/bin/gyrodex.ini" | tr '\n' ' ')"

# SIGTERM (as at logout or from a task manager) ends the program the same way.
rm -f "$work/bin/gyrodex.ini"
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" "$work/bin/gyrodex" >"$work/out.txt" 2>&1 &
app=$!
pids+=($app)
timeout 20 xdotool search --sync --name '^Gyrodex v1\.1$' >/dev/null || fail "the palette did not appear again"
sleep 0.5
kill -TERM "$app"
for _ in $(seq 50); do running || break; sleep 0.1; done
running && fail "the program is still running after SIGTERM"
[[ -f "$work/bin/gyrodex.ini" ]] || fail "no settings file after SIGTERM: $(cat "$work/out.txt")"
echo "SIGTERM ended the program and wrote the settings file"

# A design named on the command line opens at start: its background (0x0080FF, orange as the
# screen shows it) fills the centre of the screen.
printf '[Colors]\r\nBackground=33023\r\n' >"$work/orange.cal"
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" "$work/bin/gyrodex" "$work/orange.cal" >"$work/out.txt" 2>&1 &
app=$!
pids+=($app)
timeout 20 xdotool search --sync --name '^Gyrodex v1\.1$' >/dev/null || fail "the palette did not appear with a file"
sleep 1.5
import -window root "$work/shot.png" || fail "no screenshot"
got=$(pixel 640 512)
[[ "$got" == 255,128,0 ]] || fail "the design given on the command line was not shown: centre is $got"
echo "gyrodex FILE opened the design: background at the centre $got"
kill -TERM "$app"
for _ in $(seq 50); do running || break; sleep 0.1; done

# A changed design survives a crash: 30 seconds after a change the recovery copy is written;
# after kill -9 the next start offers it, and Recover gives the design back.
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" \
    "$work/bin/gyrodex" >"$work/out.txt" 2>&1 &
app=$!
pids+=($app)
palette=$(timeout 20 xdotool search --sync --name '^Gyrodex v1\.1$' | head -1)
[[ -n "$palette" ]] || fail "the palette did not appear for the recovery run"
sleep 1
read -r cx cy < <(where)
area_top=$((cy + $(xwininfo -id "$palette" | awk '/Height/ { print $2 }') - 244))
xdotool mousemove $((cx + 30)) $((area_top + 29)) click 1
props=$(timeout 10 xdotool search --sync --name '^Calendar Properties$' | head -1)
[[ -n "$props" ]] || fail "no properties panel for the recovery run"
sleep 0.5
read -r px py < <(origin "$props")
xdotool mousemove $((px + 104)) $((py + 30)) click 1 key ctrl+a type 200
sleep 31
ls "$work/data/Vantoric/Gyrodex/"recovery-*.cal >/dev/null 2>&1 || fail "no recovery copy 31 s after a change"
kill -9 "$app"
sleep 0.5
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" \
    "$work/bin/gyrodex" >"$work/out.txt" 2>&1 &
app=$!
pids+=($app)
question=$(timeout 20 xdotool search --sync --name '^Gyrodex v1\.0$' | head -1)
[[ -n "$question" ]] || fail "the recovery copy was not offered after kill -9"
xdotool windowactivate --sync "$question" key Return
sleep 1.5
import -window root "$work/shot.png" || fail "no screenshot"
# Radius 200 around the centre (640, 512): ring 1 of spoke 45 is a week day at 182 pixels.
new_cell=$(awk 'BEGIN { a = 45.2 * 2 * 3.14159265358979 / 52; printf "%d %d\n", 640 + 182 * cos(a), 512 + 182 * sin(a) }')
got=$(pixel ${new_cell% *} ${new_cell#* })
[[ "$got" == 255,255,128 ]] || fail "the recovered design does not show radius 200: ($new_cell) is $got"
echo "kill -9 after a change, restart: the recovery was offered and gave back radius 200"
kill -TERM "$app"
for _ in $(seq 50); do running || break; sleep 0.1; done

# A desktop scaled to 200%: the image has the screen's device pixels, so the same design shows
# the same picture as at 100% (centre (640, 512), radius 360 in device pixels), sharp; a drag of
# 30 device pixels moves the wheel by 30 image pixels.
mkdir -p "$work/config2"
printf '[Misc]\r\nStartDate=01/04/2027\r\nEndDate=12/31/2027\r\n' >"$work/plain.cal"
QT_SCALE_FACTOR=2 XDG_CONFIG_HOME="$work/config2" XDG_DATA_HOME="$work/data2" XDG_RUNTIME_DIR="$work" \
    "$work/bin/gyrodex" "$work/plain.cal" >"$work/out.txt" 2>&1 &
app=$!
pids+=($app)
timeout 20 xdotool search --sync --name '^Gyrodex v1\.1$' >/dev/null || fail "the palette did not appear at 200%"
sleep 1.5
import -window root "$work/shot.png" || fail "no screenshot"
check 30 1 255,255,128 "200%: week day cell (spoke 30, ring 1)"
check 30 7 255,128,0 "200%: weekend cell (spoke 30, ring 7)"
got=$(pixel 640 512)
[[ "$got" == 128,128,255 ]] || fail "200%: background at the centre is $got"
read -r fill_x fill_y < <(point 30 1)
xdotool mousemove 100 100 mousedown 1
sleep 0.2
xdotool mousemove 116 94
sleep 0.2
xdotool mousemove 130 90 mouseup 1
sleep 0.8
import -window root "$work/shot.png" || fail "no screenshot"
got=$(pixel 670 502)
[[ "$got" == 128,128,255 ]] || fail "200%: background at the moved centre is $got"
got=$(pixel $((fill_x + 30)) $((fill_y - 10)))
[[ "$got" == 255,255,128 ]] || fail "200%: the week day cell did not move with the drag: $got"
echo "200%: the wheel is painted in device pixels and a drag of 30, -10 moved it by 30, -10"
kill -TERM "$app"
for _ in $(seq 50); do running || break; sleep 0.1; done
