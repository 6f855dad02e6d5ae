#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fuzzes the wave reader and the whole job: tools/fuzz.sh [SECONDS] (default 60).
# Builds the target with clang, writes a seed corpus of small valid and broken
# files, runs libFuzzer for the given time and keeps what it finds in
# build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
bash tools/setup.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target wave_fuzzer

corpus=build/fuzz/corpus
mkdir -p "$corpus" build/fuzz/findings
le32() { printf '%b' "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
fmt() { # channels bits align
  printf 'fmt '; le32 16; printf '\x01\x00'; printf '%b' "\\x$(printf %02x "$1")\\x00"; le32 44100; le32 88200
  printf '%b' "\\x$(printf %02x "$3")\\x00\\x$(printf %02x "$2")\\x00"
}
wave() { # name channels bits align data-bytes
  local body; body="$(mktemp)"
  { printf 'WAVE'; fmt "$2" "$3" "$4"; printf 'data'; le32 "$(printf %s "$5" | wc -c)"; printf %s "$5"; } >"$body"
  { printf 'RIFF'; le32 "$(wc -c <"$body")"; cat "$body"; } >"$corpus/$1"
  rm -f "$body"
}
wave pcm16 1 16 2 $'\x10\x20\x30\xc0\x00\x40\xff\x7f'
wave pcm8 1 8 1 $'\x10\x80\xf0\x90'
wave stereo16 2 16 4 $'\x01\x02\x03\x04\x05\x06\x07\x08'
wave three16 3 16 6 $'\x01\x10\x02\x20\x03\x30\x04\x40\x05\x50\x06\x60'
wave deep24 2 24 6 $'\x01\x02\x03\x04\x05\x06'
wave odd8 1 8 1 $'\x10\x20\x30'
printf 'RIFF\x04\x00\x00\x00WAVE' >"$corpus/empty-form"
printf 'RIFX\x24\x00\x00\x00WAVEfmt ' >"$corpus/rifx"
head -c 30 "$corpus/pcm16" >"$corpus/cut"

build/fuzz/tests/fuzz/wave_fuzzer -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -artifact_prefix=build/fuzz/findings/ -print_final_stats=1 "$corpus"
