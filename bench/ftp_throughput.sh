#!/usr/bin/env bash
# Loopback FTP throughput: a local vsftpd serves a 256 MiB random file; brikka-ftp and curl each
# download it and upload it, binary and passive, in RUNS alternating rounds (curl's own
# figure varies a lot from run to run). Prints MiB/s per run, the medians and their
# brikka/curl ratio per direction, and the peak memory of each client. Needs root (vsftpd)
# and curl.
#   usage: bench/ftp_throughput.sh [BUILD_DIR]   (default: build)
#   BENCH_MIB      size of the file in MiB (default 256)
#   BENCH_RUNS     rounds of transfers (default 3)
#   BRIKKA_FTP     path of the client (default BUILD_DIR/bin/brikka-ftp)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
[[ $build = /* ]] || build=$root/$build
mib=${BENCH_MIB:-256}
runs=${BENCH_RUNS:-3}
brikka=${BRIKKA_FTP:-$build/bin/brikka-ftp}
python=/usr/bin/python3

command -v vsftpd >/dev/null || { echo "ftp_throughput: vsftpd not installed, skipped"; exit 0; }
command -v curl >/dev/null || { echo "ftp_throughput: curl not installed, skipped"; exit 0; }
[ "$(id -u)" -eq 0 ] || { echo "ftp_throughput: vsftpd needs root, skipped"; exit 0; }
have_brikka=1
[ -x "$brikka" ] || { echo "ftp_throughput: no $brikka, measuring curl only"; have_brikka=0; }

work=$(mktemp -d /tmp/brikka-ftpbench.XXXXXX)
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# Free ports: one for control, a small range for passive data connections.
read -r port pasv_min pasv_max < <("$python" - <<'EOF'
import socket
def free():
    s = socket.socket(); s.bind(("127.0.0.1", 0)); p = s.getsockname()[1]; s.close(); return p
control = free()
for base in range(40000, 60000, 50):
    if base <= control < base + 20: continue
    try:
        socks = []
        for p in range(base, base + 20):
            s = socket.socket(); s.bind(("127.0.0.1", p)); socks.append(s)
        for s in socks: s.close()
        print(control, base, base + 19); break
    except OSError:
        for s in socks: s.close()
EOF
)

# The anonymous root belongs to root (vsftpd will not chroot into a root the ftp user may
# write); uploads go to pub/, which anyone may write.
mkdir -p "$work/root/pub" "$work/empty" "$work/local"
chmod 755 "$work/root" "$work/empty"
chmod 777 "$work/root/pub"
cat >"$work/vsftpd.conf" <<EOF
listen=YES
listen_ipv6=NO
background=NO
listen_address=127.0.0.1
listen_port=$port
anonymous_enable=YES
local_enable=NO
no_anon_password=YES
anon_root=$work/root
write_enable=YES
anon_upload_enable=YES
anon_umask=022
pasv_enable=YES
pasv_address=127.0.0.1
pasv_min_port=$pasv_min
pasv_max_port=$pasv_max
secure_chroot_dir=$work/empty
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
xferlog_enable=NO
EOF

echo "ftp_throughput: making a ${mib} MiB random file"
head -c "$((mib * 1024 * 1024))" /dev/urandom >"$work/root/big.bin"
chmod 644 "$work/root/big.bin"
cp "$work/root/big.bin" "$work/local/source.bin"

vsftpd "$work/vsftpd.conf" >"$work/vsftpd.log" 2>&1 &
server_pid=$!
for _ in $(seq 50); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done
(exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null ||
  { echo "ftp_throughput: vsftpd did not start:"; cat "$work/vsftpd.log"; exit 1; }

now_ns() { date +%s%N; }
peak_kib=0
# Runs a command once; sets $elapsed_ns and $peak_kib (peak resident set of the command).
measure() {
  local t0 t1
  sync  # the previous run's written pages must not be flushed on this run's time
  t0=$(now_ns)
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f %M -o "$work/rss" "$@" >"$work/out.log" 2>&1 ||
      { echo "ftp_throughput: failed: $*"; cat "$work/out.log"; exit 1; }
    peak_kib=$(tail -1 "$work/rss")
  else
    "$@" >"$work/out.log" 2>&1 &
    local pid=$! hwm=0 v
    while kill -0 "$pid" 2>/dev/null; do
      v=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
      [ -n "$v" ] && [ "$v" -gt "$hwm" ] && hwm=$v
      sleep 0.05
    done
    wait "$pid" || { echo "ftp_throughput: failed: $*"; cat "$work/out.log"; exit 1; }
    peak_kib=$hwm
  fi
  t1=$(now_ns)
  elapsed_ns=$((t1 - t0))
}

rate() { awk -v n="$mib" -v ns="$1" 'BEGIN { printf "%.1f", n / (ns / 1e9) }'; }
same() { cmp -s "$1" "$2" || { echo "ftp_throughput: $3 bytes differ"; exit 1; }; }
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

url=ftp://127.0.0.1:$port
cat "$work/root/big.bin" >/dev/null  # warm the page cache for both clients alike

# One transfer by CLIENT (curl or brikka) in DIRECTION (down or up), checked byte for byte:
# adds to that client's rates and keeps its highest peak memory.
declare -A rates peaks
transfer() {
  local dir=$1 client=$2 from=$work/root/big.bin to=$work/local/$2.bin
  [ "$dir" = up ] && from=$work/local/source.bin to=$work/root/pub/$2.bin
  case $dir-$client in
    down-curl) measure curl -sS -o "$to" "$url/big.bin" ;;
    down-brikka) measure "$brikka" "127.0.0.1:$port" "get big.bin $to" ;;
    up-curl) measure curl -sS -T "$from" "$url/pub/curl.bin" ;;
    up-brikka) measure "$brikka" "127.0.0.1:$port" "put $from pub/brikka.bin" ;;
  esac
  same "$from" "$to" "$client $dir"
  rates[$dir-$client]+="$(rate "$elapsed_ns") "
  [ "$peak_kib" -gt "${peaks[$dir-$client]:-0}" ] && peaks[$dir-$client]=$peak_kib
  rm -f "$to"
}

echo "ftp_throughput: ${mib} MiB over loopback, vsftpd on 127.0.0.1:$port, passive, binary, $runs runs"
clients=(curl)
[ "$have_brikka" -eq 1 ] && clients=(curl brikka)
for run in $(seq "$runs"); do
  # Who goes first alternates, so that neither always meets what the other left behind.
  order=("${clients[@]}")
  [ $((run % 2)) -eq 0 ] && [ ${#clients[@]} -eq 2 ] && order=(brikka curl)
  for client in "${order[@]}"; do
    transfer down "$client"
    transfer up "$client"
  done
done
# report DIRECTION "CURL RATES" "BRIKKA RATES"
report() {
  local dir=$1 curl_med brikka_med
  curl_med=$(median $2)
  if [ -n "$3" ]; then
    brikka_med=$(median $3)
    printf '%-9s brikka-ftp %s MiB/s (median %s)   curl %s MiB/s (median %s)   ratio of medians %s\n' \
      "$dir" "${3% }" "$brikka_med" "${2% }" "$curl_med" "$(ratio "$brikka_med" "$curl_med")"
    echo "bench-result: ftp_$dir $brikka_med $curl_med"
  else
    printf '%-9s curl %s MiB/s (median %s)\n' "$dir" "${2% }" "$curl_med"
  fi
}
report download "${rates[down-curl]}" "${rates[down-brikka]:-}"
report upload "${rates[up-curl]}" "${rates[up-brikka]:-}"
printf 'highest peak RSS: brikka-ftp %s KiB down, %s KiB up; curl %s KiB down, %s KiB up\n' \
  "${peaks[down-brikka]:--}" "${peaks[up-brikka]:--}" "${peaks[down-curl]}" "${peaks[up-curl]}"
