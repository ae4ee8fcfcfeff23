#!/usr/bin/env bash
# Runs under xvfb-run (its server started with -noreset, so that it stays up between clients):
# starts the window, hands it a second file from a later start, presses play, drags the window by
# its background, screenshots it and presses its exit button, all with real X events; then starts
# it once more to see where it shows and exits again.
# Arguments: quillet binary, work folder, first file, second file, drag point "x y", exit button
# centre "x y" and play button centre "x y" in window coordinates. Writes positions, exit
# statuses and whether play sounded to the work folder; the virtual card's output is out.wav.
set -euo pipefail
bin=$1 work=$2 first=$3 second=$4
drag_x=$5 drag_y=$6 exit_x=$7 exit_y=$8 play_x=$9 play_y=${10}
export QT_QPA_PLATFORM=xcb QUILLET_AUDIO=virtual QUILLET_VIRTUAL_OUT=$work/out.wav XDG_RUNTIME_DIR=$work/run
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"

# Presses the exit button of the window at X, Y until the process ends (a click while the window
# is busy does not reach it); sets status to the process's exit status, 124 when it did not end.
exit_window() {
  for _ in $(seq 40); do
    kill -0 "$1" 2>/dev/null || break
    xdotool mousemove $((X + exit_x)) $((Y + exit_y)) sleep 0.2 click 1 sleep 0.3
  done
  status=0
  if kill -0 "$1" 2>/dev/null; then
    kill "$1"
    status=124
  fi
  local code=0
  wait "$1" || code=$?
  [ "$status" -eq 124 ] || status=$code
}

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
# Play, pressed until the virtual card's output grows (the window may still be opening the file).
played=0
for _ in $(seq 20); do
  xdotool mousemove $((X + play_x)) $((Y + play_y)) sleep 0.2 click 1 sleep 0.8
  if [ "$(stat -c %s "$QUILLET_VIRTUAL_OUT" 2>/dev/null || echo 0)" -gt 8044 ]; then
    played=1
    break
  fi
done

# The drag is tried again while the window is busy opening (a progress dialog holds the mouse),
# as a person would; a slow build (sanitizers) takes a while.
before_x=$X before_y=$Y
for _ in $(seq 20); do
  xdotool mousemove $((X + drag_x)) $((Y + drag_y)) mousedown 1 sleep 0.2 \
    mousemove $((X + drag_x + 60)) $((Y + drag_y + 40)) sleep 0.2 \
    mousemove $((X + drag_x + 120)) $((Y + drag_y + 80)) sleep 0.2 mouseup 1
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  [ "$X,$Y" != "$before_x,$before_y" ] && break
done
echo "after=$X,$Y" >>"$work/result.txt"

exit_window "$pid"
echo "first_status=$status" >>"$work/result.txt"

# The next start shows the window where it was left (and the stored input); exit again.
"$bin" "-work_dir:$work" >"$work/third.log" 2>&1 &
pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quillet$' | head -n 1)
sleep 1
import -window root "$work/shot-third.png"
eval "$(xdotool getwindowgeometry --shell "$wid")"
echo "restored=$X,$Y" >>"$work/result.txt"
exit_window "$pid"
echo "third_status=$status" >>"$work/result.txt"
echo "played=$played" >>"$work/result.txt"
