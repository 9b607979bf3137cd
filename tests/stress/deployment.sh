# Sourced by the stress tests: builds vemba_tts when needed and lays out a
# temporary deployment of the demo pack.
#
#   make_deployment ROOT CHANNELS   ROOT/config, ROOT/www/tts, ROOT/pages, ROOT/logs
#   run_request ROOT MESSAGE PAGE   one request, its output in ROOT/out/PAGE

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$repo/build}"
tts="$build/vemba_tts"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$repo" -B "$build" >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target vemba_tts >/dev/null

make_deployment() {
  local root=$1 channels=$2
  mkdir -p "$root/config" "$root/www/tts" "$root/pages" "$root/logs" "$root/out"
  cp "$repo/packs/en-us/rules.dat" "$repo/packs/en-us/contents.dat" "$root/config/"
  cat >"$root/config/tts_vemba.cfg" <<CFG
id=1
code=en
version=stress
lpdat=$repo/packs/en-us
wwwroot=$root/www
lpsounds=$root/www/tts
res_dir=$root/pages
log_dir=$root/logs
rules=rules.dat
contents=contents.dat
log_level=2
hold=5
hold_log=5
channels=$channels
sweep_interval=0
CFG
}

run_request() {
  "$tts" "$1/config/" 1 "$2" 0 en-us "$3" VXML http://127.0.0.1 >"$1/out/$3"
}

# The data bytes a WAV file's header promises, and what the file holds: a
# whole file has RIFF size = size - 8 and data size = size - 58.
wav_is_whole() {
  local size riff data
  size=$(stat -c %s "$1")
  [ "$size" -ge 58 ] || return 1
  read -r riff < <(od -An -t u4 -j 4 -N 4 "$1")
  read -r data < <(od -An -t u4 -j 54 -N 4 "$1")
  [ "$riff" -eq $((size - 8)) ] && [ "$data" -eq $((size - 58)) ]
}
