#!/usr/bin/env bash
# Makes the committed MP3 and Windows Media fixtures of the decoder tests from tones made here.
# Needs sox, lame and ffmpeg (scripts/install-deps.sh installs them). Run from anywhere:
#   tests/data/make-fixtures.sh
# Every tone is a pure sine, so a test can find its frequency and level again in the decoded WAV.
# Tones are made without dither, so that the same tools make the same bytes again.
set -euo pipefail

out=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ff=(ffmpeg -hide_banner -loglevel error -y)

# Stereo 44.1 kHz, 2 s: left 1000 Hz, right 2000 Hz, both at half of full scale (-6 dBFS).
sox -D -n -r 44100 -b 16 -c 2 "$work/stereo.wav" synth 2 sine 1000 sine 2000 vol 0.5
# Stereo 44.1 kHz, 1 s, 1000 Hz on both channels at half of full scale.
sox -D -n -r 44100 -b 16 -c 2 "$work/stereo1k.wav" synth 1 sine 1000 vol 0.5
# Mono 22.05 kHz, 1.5 s, 500 Hz at a quarter of full scale (-12 dBFS).
sox -D -n -r 22050 -b 16 -c 1 "$work/mono.wav" synth 1.5 sine 500 vol 0.25

# MP3: MPEG-1 layer III stereo; a 32 kHz one behind an ID3v2 tag padded by 1000 bytes;
# MPEG-2 layer III mono.
lame --quiet --cbr -b 128 -m s "$work/stereo.wav" "$out/tone-stereo-44k.mp3"
lame --quiet --cbr -b 96 -m j --resample 32 --id3v2-only --tt "Quillet tone" --ta "Quillet" \
    --pad-id3v2-size 1000 "$work/stereo1k.wav" "$out/tone-id3.mp3"
lame --quiet --cbr -b 32 -m m "$work/mono.wav" "$out/tone-mono-22k.mp3"

# WMA (wmav2) of the stereo tone.
"${ff[@]}" -i "$work/stereo.wav" -c:a wmav2 -b:a 128k "$out/tone.wma"
# The same tone written as a stream (to a pipe): its header carries no play duration.
"${ff[@]}" -i "$work/stereo.wav" -t 1 -c:a wmav2 -b:a 64k -f asf - >"$out/tone-streamed.wma"
# WMV: a small test picture and the mono 22.05 kHz tone.
"${ff[@]}" -f lavfi -i "testsrc=size=64x48:rate=10:duration=1.5" -i "$work/mono.wav" \
    -c:v wmv2 -b:v 40k -c:a wmav2 -b:a 32k "$out/video-tone.wmv"
# ASF with a video stream only.
"${ff[@]}" -f lavfi -i "testsrc=size=64x48:rate=10:duration=1" -an -c:v wmv1 -b:v 40k \
    -f asf "$out/video-only.asf"

ls -l "$out"/*.mp3 "$out"/*.wma "$out"/*.wmv "$out"/*.asf
