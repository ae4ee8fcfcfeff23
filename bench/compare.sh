#!/usr/bin/env bash
# Times quillet-cli's extract, open and make, and Quillet's MP3 decoder and OGG encoder, against
# oggenc, madplay and ffmpeg, and checks that opening a long MP3 takes no more memory than a short
# one. Prints a table with PASS/MISS per goal.
#
# Usage: bench/compare.sh   (QUILLET_BUILD_DIR: the build folder to use or make; default build/)
# Exit status 0 when every measurement ran, whatever the verdicts; 1 when something failed to run.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${QUILLET_BUILD_DIR:-$ROOT/build}
RUNS=3

EXTRACT_GOAL=1.05     # CPU time, quillet-cli extract of 30 s / oggenc -q 0 of the same 30 s WAV
OPEN_GOAL=0.80        # wall-clock time, quillet-cli open / madplay, the 10-minute MP3
MAKE_GOAL=1.50        # CPU time, quillet-cli make 30 s / the ffmpeg line, of the 10-minute MP3
DECODE_GOAL=1.10      # CPU time, quillet-bench / madplay, decoding the 10-minute MP3
ENCODE_GOAL=1.10      # CPU time, quillet-bench / oggenc -q 0, encoding the 30 s WAV
MEMORY_GOAL_KIB=2048  # peak RSS opening the 60-minute MP3 minus that of the 1-minute MP3
                      # (quillet-cli open, and quillet-bench decode alike)

die() {
    echo "compare.sh: $*" >&2
    exit 1
}

# --- tools: what scripts/install-deps.sh brings, and madplay and GNU time besides ----------------
declare -A PACKAGE_OF=([madplay]=madplay [/usr/bin/time]=time [sox]=sox [soxi]=sox [lame]=lame
    [ffmpeg]=ffmpeg [oggenc]=vorbis-tools [cmake]=cmake [ninja]=ninja-build)
missing=()
for tool in "${!PACKAGE_OF[@]}"; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("${PACKAGE_OF[$tool]}")
done
if ((${#missing[@]})); then
    SUDO=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 || die "need root or sudo to install: ${missing[*]}"
        SUDO=(sudo)
    fi
    mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)
    echo "Installing ${missing[*]} ..."
    export DEBIAN_FRONTEND=noninteractive
    "${SUDO[@]}" apt-get update -q >/dev/null || die "apt-get update failed"
    "${SUDO[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null ||
        die "could not install ${missing[*]}"
fi

# --- build ------------------------------------------------------------------------------------
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quillet-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

echo "Building quillet-bench in $BUILD_DIR ..."
configure=(cmake -S "$ROOT" -B "$BUILD_DIR" -DQUILLET_BUILD_BENCH=ON)
[ -f "$BUILD_DIR/CMakeCache.txt" ] || configure+=(-G Ninja)
"${configure[@]}" >"$WORK/configure.log" 2>&1 || {
    tail -n 30 "$WORK/configure.log" >&2
    die "cmake could not configure $BUILD_DIR"
}
cmake --build "$BUILD_DIR" --target quillet-bench quillet-cli -j 2 >"$WORK/build.log" 2>&1 || {
    tail -n 30 "$WORK/build.log" >&2
    die "quillet-bench did not build"
}
BENCH="$BUILD_DIR/bin/quillet-bench"
CLI="$BUILD_DIR/bin/quillet-cli"
[ -x "$BENCH" ] || die "no $BENCH after the build"
[ -x "$CLI" ] || die "no $CLI after the build"
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt")
sanitize=$(sed -n 's/^QUILLET_SANITIZE:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt")
case "$build_type" in
Release | RelWithDebInfo | MinSizeRel) ;;
*) echo "WARNING: build type '${build_type}' is not optimised; the figures mean little." ;;
esac
[ -z "$sanitize" ] || echo "WARNING: built with sanitizers (${sanitize}); the figures mean little."

# --- inputs -----------------------------------------------------------------------------------
cd "$WORK"
echo "Making the inputs in $WORK ..."
# One minute of something like music, different on each channel: a few tones with vibrato,
# swells and plucked notes, and a little noise.
signal="\
0.25*sin(2*PI*220*t)*(0.7+0.3*sin(2*PI*0.5*t))\
+0.18*sin(2*PI*277.2*t+2*sin(2*PI*5*t))\
+0.15*sin(2*PI*329.6*t)*(0.5+0.5*sin(2*PI*0.25*t))\
+0.1*sin(2*PI*880*t)*exp(-4*mod(t,0.5))\
+0.06*(random(0)-0.5)|\
0.2*sin(2*PI*164.8*t)\
+0.2*sin(2*PI*246.9*t)*(0.6+0.4*cos(2*PI*0.33*t))\
+0.15*sin(2*PI*440*t)*exp(-3*mod(t+0.25,0.5))\
+0.12*sin(2*PI*554.4*t)\
+0.06*(random(1)-0.5)"
ffmpeg -nostdin -loglevel error -y -f lavfi -i "aevalsrc='$signal':s=44100:d=60" \
    -c:a pcm_s16le signal60.wav || die "ffmpeg could not make the signal"
sox signal60.wav clip30.wav trim 0 30 || die "sox could not cut the 30 s WAV"
sox signal60.wav signal600.wav repeat 9 || die "sox could not make the 10-minute signal"
# 128 kbit/s (joint) stereo, 44.1 kHz. -t leaves out the Xing frame, so that six 10-minute files
# joined make one clean 60-minute stream.
lame --quiet -t -b 128 signal60.wav in1.mp3 || die "lame failed"
lame --quiet -t -b 128 signal600.wav in10.mp3 || die "lame failed"
rm -f signal600.wav
for _ in 1 2 3 4 5 6; do cat in10.mp3; done >in60.mp3

# --- measuring --------------------------------------------------------------------------------
# measure NAME COMMAND...: runs COMMAND $RUNS times, each time after removing the out.* files,
# and sets CPU_<NAME> (least user+sys time, ms), WALL_<NAME> (least elapsed time, ms) and
# RSS_<NAME> (median peak resident set, KiB). Bash's time keyword gives the times in 1 ms steps;
# GNU time gives the peak resident set.
TIMEFORMAT='%3R %3U %3S'
measure() {
    local name=$1
    shift
    local cpus=() walls=() rsss=() i times real user sys
    for ((i = 0; i < RUNS; i++)); do
        rm -f out.*
        times=$({ time /usr/bin/time -f '%M' -o rss.txt "$@" >/dev/null 2>run.log; } 2>&1) || {
            cat run.log >&2
            die "failed to run: $*"
        }
        read -r real user sys <<<"$times"
        walls+=("$(awk -v r="$real" 'BEGIN { printf "%d", r * 1000 }')")
        cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%d", (u + s) * 1000 }')")
        rsss+=("$(tail -n 1 rss.txt)")
    done
    printf -v "CPU_$name" '%s' "$(printf '%s\n' "${cpus[@]}" | sort -n | head -n 1)"
    printf -v "WALL_$name" '%s' "$(printf '%s\n' "${walls[@]}" | sort -n | head -n 1)"
    printf -v "RSS_$name" '%s' "$(printf '%s\n' "${rsss[@]}" | sort -n | sed -n "$(((RUNS + 1) / 2))p")"
}

# Sample frames per channel in a WAV file.
frames_of() { soxi -s "$1"; }

echo "Measuring, $RUNS runs each ..."
measure startup "$BENCH" --help

measure dec_q "$BENCH" decode in10.mp3 out.q.wav
frames_q=$(frames_of out.q.wav)
measure dec_m madplay -Q -o wave:out.m.wav in10.mp3
frames_m=$(frames_of out.m.wav)
measure dec_f ffmpeg -nostdin -loglevel error -y -i in10.mp3 out.f.wav
frames_f=$(frames_of out.f.wav)

measure enc_q "$BENCH" encode clip30.wav out.q.ogg --quality 0
size_q=$(stat -c %s out.q.ogg)
length_q=$(soxi -D out.q.ogg)
measure enc_o oggenc -Q -q 0 -o out.o.ogg clip30.wav
size_o=$(stat -c %s out.o.ogg)
# The other mode of the encoder: a nominal bitrate without bitrate management (BitRate >= 32).
measure encb_q "$BENCH" encode clip30.wav out.q.ogg --bitrate 128
measure encb_o oggenc -Q -b 128 -o out.o.ogg clip30.wav

# quillet-cli on its own work folder: the extraction of a 30 s selection alone (the WAV opened and
# selected beforehand), against oggenc on the same 30 s.
export XDG_DATA_HOME="$WORK/xdg"
"$CLI" --work-dir "$WORK/ext" open clip30.wav >/dev/null || die "quillet-cli could not open clip30.wav"
"$CLI" --work-dir "$WORK/ext" select 0 30000 >/dev/null || die "quillet-cli could not select"
measure ext_q "$CLI" --work-dir "$WORK/ext" extract -o out.x.ogg
length_ext=$(soxi -D out.x.ogg)

# Opening the 10-minute MP3: decoding it into the work WAV, with the visualization file and the
# peak made on a second thread meanwhile, against madplay decoding it into a WAV file.
measure open_q "$CLI" --work-dir "$WORK/cli" open in10.mp3

# The whole ringtone job of the command-line tool: a 30 s selection with 2 s fades out of the
# 10-minute MP3, against ffmpeg seeking to it, fading and encoding it. With the normalization on
# (the default) make decodes the whole input for the peak the gain needs; with it off it stops
# decoding at the end of the selection.
measure make_q "$CLI" --work-dir "$WORK/cli" make in10.mp3 -o out.q.ogg --start 5:00 --end 5:30 \
    --fade-in 2000 --fade-out 2000
length_make=$(soxi -D out.q.ogg)
"$CLI" --work-dir "$WORK/plain" settings NormalizationPercent 0 >/dev/null ||
    die "quillet-cli could not store a setting"
measure make0_q "$CLI" --work-dir "$WORK/plain" make in10.mp3 -o out.q.ogg --start 5:00 \
    --end 5:30 --fade-in 2000 --fade-out 2000
measure make_f ffmpeg -nostdin -loglevel error -y -ss 300 -t 30 -i in10.mp3 \
    -af "afade=t=in:st=0:d=2,afade=t=out:st=28:d=2" -c:a libvorbis -q:a 0 out.f.ogg
measure open1 "$CLI" --work-dir "$WORK/cli" open in1.mp3
measure open60 "$CLI" --work-dir "$WORK/cli" open in60.mp3

measure mem1 "$BENCH" decode in1.mp3 out.1.wav
measure mem60 "$BENCH" decode in60.mp3 out.60.wav
frames_60=$(frames_of out.60.wav)
rm -f out.*

# --- report -----------------------------------------------------------------------------------
# ratio A B: A / B to three decimals.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) print "n/a"; else printf "%.3f", a / b }'; }
# verdict RATIO GOAL: PASS when RATIO <= GOAL.
verdict() { awk -v v="$1" -v g="$2" 'BEGIN { print (v != "n/a" && v + 0 <= g + 0) ? "PASS" : "MISS" }'; }
ms() { awk -v m="$1" 'BEGIN { printf "%.3f s", m / 1000 }'; }

net=$((CPU_startup))
r_ext=$(ratio "$CPU_ext_q" "$CPU_enc_o")
r_open=$(ratio "$WALL_open_q" "$WALL_dec_m")
r_open_cpu=$(ratio "$CPU_open_q" "$CPU_dec_m")
r_make=$(ratio "$CPU_make_q" "$CPU_make_f")
r_make_wall=$(ratio "$WALL_make_q" "$WALL_make_f")
r_make0=$(ratio "$CPU_make0_q" "$CPU_make_f")
r_dec_m=$(ratio "$CPU_dec_q" "$CPU_dec_m")
r_dec_f=$(ratio "$CPU_dec_q" "$CPU_dec_f")
r_enc=$(ratio "$CPU_enc_q" "$CPU_enc_o")
n_dec_m=$(ratio $((CPU_dec_q - net)) "$CPU_dec_m")
n_dec_f=$(ratio $((CPU_dec_q - net)) "$CPU_dec_f")
n_enc=$(ratio $((CPU_enc_q - net)) "$CPU_enc_o")
r_encb=$(ratio "$CPU_encb_q" "$CPU_encb_o")
n_encb=$(ratio $((CPU_encb_q - net)) "$CPU_encb_o")
mem_delta=$((RSS_mem60 - RSS_mem1))
mem_verdict=$([ "$mem_delta" -le "$MEMORY_GOAL_KIB" ] && echo PASS || echo MISS)
open_delta=$((RSS_open60 - RSS_open1))
open_verdict=$([ "$open_delta" -le "$MEMORY_GOAL_KIB" ] && echo PASS || echo MISS)

# row MEASUREMENT QUILLET OTHER RATIO GOAL VERDICT
row() { printf '%-46s %-22s %-22s %6s %-9s %s\n' "$@"; }
# timing NAME: "CPU (wall)" of a measurement.
timing() {
    local cpu="CPU_$1" wall="WALL_$1"
    echo "$(ms "${!cpu}") ($(ms "${!wall}"))"
}

echo
echo "Quillet benchmarks: $(nproc) cores, build type ${build_type:-none}, best of $RUNS runs."
echo "Times are CPU time (user + sys) of the whole process, wall-clock time in brackets. The ratio"
echo "is of CPU times except where the row says wall: opening overlaps the work files' writing"
echo "with decoding on a second thread, which lowers the wall-clock time, not the CPU time."
echo
row measurement quillet other ratio goal verdict
row "cli extract 30 s q 0, vs oggenc -q 0" "$(timing ext_q)" "$(timing enc_o)" \
    "$r_ext" "<= $EXTRACT_GOAL" "$(verdict "$r_ext" "$EXTRACT_GOAL")"
row "cli open 10-min MP3, vs madplay (wall)" "$(timing open_q)" "$(timing dec_m)" \
    "$r_open" "<= $OPEN_GOAL" "$(verdict "$r_open" "$OPEN_GOAL")"
row "  the same, CPU time" "" "" "$r_open_cpu" "-" "info"
row "cli make 30 s of 10-min MP3, vs ffmpeg" "$(timing make_q)" "$(timing make_f)" \
    "$r_make" "<= $MAKE_GOAL" "$(verdict "$r_make" "$MAKE_GOAL")"
row "  the same, wall-clock time" "" "" "$r_make_wall" "-" "info"
row "  the same, normalization off" "$(timing make0_q)" "" "$r_make0" "-" "info"
row "peak RSS cli open 60-min vs 1-min MP3" "${RSS_open60} KiB" "${RSS_open1} KiB" \
    "$(printf '%+d KiB' "$open_delta")" "<= +${MEMORY_GOAL_KIB}" "$open_verdict"
echo
echo "quillet-bench (the decoder and the encoder alone); 'net' takes its start-up"
echo "($(ms "$CPU_startup") CPU) off its time:"
printf '%-46s %-22s %-22s %6s %6s %-9s %s\n' measurement quillet-bench other ratio net goal verdict
printf '%-46s %-22s %-22s %6s %6s %-9s %s\n' \
    "decode 10-min MP3 -> WAV, vs madplay" "$(timing dec_q)" "$(timing dec_m)" \
    "$r_dec_m" "$n_dec_m" "<= $DECODE_GOAL" "$(verdict "$r_dec_m" "$DECODE_GOAL")"
printf '%-46s %-22s %-22s %6s %6s %-9s %s\n' \
    "decode 10-min MP3 -> WAV, vs ffmpeg" "$(timing dec_q)" "$(timing dec_f)" \
    "$r_dec_f" "$n_dec_f" "-" "info"
printf '%-46s %-22s %-22s %6s %6s %-9s %s\n' \
    "encode 30 s WAV quality 0, vs oggenc -q 0" "$(timing enc_q)" "$(timing enc_o)" \
    "$r_enc" "$n_enc" "<= $ENCODE_GOAL" "$(verdict "$r_enc" "$ENCODE_GOAL")"
printf '%-46s %-22s %-22s %6s %6s %-9s %s\n' \
    "encode 30 s WAV 128k, vs oggenc -b 128" "$(timing encb_q)" "$(timing encb_o)" \
    "$r_encb" "$n_encb" "-" "info"
printf '%-46s %-22s %-22s %13s %-9s %s\n' \
    "peak RSS decoding 60-min vs 1-min MP3" "${RSS_mem60} KiB" "${RSS_mem1} KiB" \
    "$(printf '%+d KiB' "$mem_delta")" "<= +${MEMORY_GOAL_KIB}" "$mem_verdict"
echo
echo "Checks:"
echo "  ringtone of cli make: ${length_make} s (make skips the MP3 frames before it, as ffmpeg seeks);" \
    "of cli extract: ${length_ext} s"
echo "  decoded sample frames, 10-min MP3: quillet $frames_q, madplay $frames_m, ffmpeg $frames_f"
echo "  decoded sample frames, 60-min MP3: quillet $frames_60"
echo "  OGG, 30 s at q 0: quillet $size_q bytes (${length_q} s), oggenc $size_o bytes"
echo "  peak RSS of the other tools: madplay ${RSS_dec_m} KiB, ffmpeg ${RSS_dec_f} KiB," \
    "oggenc ${RSS_enc_o} KiB; quillet-bench start-up alone ${RSS_startup} KiB"
# libmad cannot decode the very last frame without guard bytes behind it, which the program's
# decoder does not add: one MP3 frame (1152 sample frames) fewer than madplay is expected.
if ((frames_m - frames_q < 0 || frames_m - frames_q > 1152)); then
    echo "  WARNING: quillet's WAV differs from madplay's by $((frames_m - frames_q)) sample frames"
fi
if ((frames_60 < 6 * frames_q)); then
    echo "  WARNING: quillet's 60-min WAV holds fewer than six times the frames of the 10-min WAV"
fi
exit 0
