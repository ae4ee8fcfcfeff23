#!/usr/bin/env bash
# Runs under xvfb-run: starts the window, hands it a second file from a later start, drags it by
# its background, screenshots it and presses its exit button, all with real X events; then starts
# it once more to see where it shows and exits again.
# Arguments: quillet binary, work folder, first file, second file, drag point "x y" and exit
# button centre "x y" in window coordinates. Writes positions and exit statuses to the work folder.
set -euo pipefail
bin=$1 work=$2 first=$3 second=$4
drag_x=$5 drag_y=$6 exit_x=$7 exit_y=$8
export QT_QPA_PLATFORM=xcb QUILLET_AUDIO=virtual QUILLET_VIRTUAL_OUT=$work/out.wav XDG_RUNTIME_DIR=$work/run
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"

"$bin" "-work_dir:$work" "$first" >"$work/first.log" 2>&1 &
pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quillet$' | head -n 1)
sleep 1 # the model opens the file after the first paint
import -window root "$work/shot-first.png"

# A later start hands its file over and ends at once.
"$bin" "-work_dir:$work" "$second" >"$work/second.log" 2>&1
echo "second_status=$?" >"$work/result.txt"
sleep 1
import -window root "$work/shot-second.png"

eval "$(xdotool getwindowgeometry --shell "$wid")"
echo "before=$X,$Y" >>"$work/result.txt"
xdotool mousemove $((X + drag_x)) $((Y + drag_y)) mousedown 1 sleep 0.2 \
  mousemove $((X + drag_x + 60)) $((Y + drag_y + 40)) sleep 0.2 \
  mousemove $((X + drag_x + 120)) $((Y + drag_y + 80)) sleep 0.2 mouseup 1
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$wid")"
echo "after=$X,$Y" >>"$work/result.txt"

xdotool mousemove $((X + exit_x)) $((Y + exit_y)) sleep 0.2 click 1
status=0
timeout 20 tail --pid="$pid" -f /dev/null || status=124
wait "$pid" || status=$?
echo "first_status=$status" >>"$work/result.txt"

# The next start shows the window where it was left (and the stored input); exit again.
"$bin" "-work_dir:$work" >"$work/third.log" 2>&1 &
pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quillet$' | head -n 1)
sleep 1
import -window root "$work/shot-third.png"
eval "$(xdotool getwindowgeometry --shell "$wid")"
echo "restored=$X,$Y" >>"$work/result.txt"
xdotool mousemove $((X + exit_x)) $((Y + exit_y)) sleep 0.2 click 1
status=0
wait "$pid" || status=$?
echo "third_status=$status" >>"$work/result.txt"
