#!/usr/bin/env bash
# Builds the Debian package and proves what a player on a clean Debian 12 sees:
# lintian accepts it; in a fresh minimal bookworm root, "apt install" pulls
# every library the program needs, the menu entry's command reaches the title
# screen, the manual page and the desktop entry pass their checks, and
# "apt remove" leaves nothing of ours behind.
#
# Needs root (chroot, mounts), network and a few minutes. The bare bookworm
# root is made once with debootstrap from this machine's Debian mirror and kept
# under build/package-check/; each run works on a fresh copy of it.
#   scripts/check-package.sh            (or: sudo make package-check)
#   scripts/check-package.sh --rebuild-root   make the bare root again
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
work=$repo/build/package-check
base=$work/bookworm-base
root=$work/root
archives=$work/apt-archives
log=$work/check.log
suite=bookworm
# The screen the menu entry's full-screen window fills: the drawing area's own
# size, so the title sits where it is drawn.
screen=1280x720

rebuild_root=0
for arg in "$@"; do
  case "$arg" in
    --rebuild-root) rebuild_root=1 ;;
    *) echo "check-package.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done
if [ "$(id -u)" -ne 0 ]; then
  echo "check-package.sh: needs root for the chroot: sudo make package-check" >&2
  exit 2
fi

started=$SECONDS
results=()
notes=()
failures=0
current=""
mounted=()

say() { printf '%s\n' "$*"; printf '== %s\n' "$*" >>"$log"; }

# Runs a check, its output going to the log; records it for the summary and
# shows the end of the log when it fails. A check runs as a condition, where
# "set -e" does not hold, so each one chains its own steps.
check() {
  local name=$1 from=$SECONDS
  shift
  current=$name
  say "-- $name"
  if "$@" >>"$log" 2>&1; then
    results+=("PASS  $name ($((SECONDS - from)) s)")
    return 0
  fi
  results+=("FAIL  $name")
  failures=$((failures + 1))
  echo "   failed; the end of $log:"
  tail -n 15 "$log" | sed 's/^/   | /'
  return 1
}

# To the terminal (descriptor 3) even when a check's output goes to the log.
summary() {
  echo
  echo "Summary ($((SECONDS - started)) s in all; details in $log)"
  local line
  for line in "${notes[@]}"; do echo "  $line"; done
  for line in "${results[@]}"; do echo "  $line"; done
  if [ "$failures" -eq 0 ] && [ ${#results[@]} -gt 0 ]; then
    echo "All checks passed."
  else
    echo "$failures check(s) failed."
  fi
}

in_root() {
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"
}

# A command in a login shell of the root's player, as a desktop session runs it.
as_player() { in_root runuser -l player -c "$1"; }

# Processes left inside the root (a hung game, its X server) are ours to end.
end_root_processes() {
  local dir pid
  for dir in /proc/[0-9]*; do
    [ "$(readlink "$dir/root" 2>/dev/null)" = "$root" ] || continue
    pid=${dir#/proc/}
    kill -KILL "$pid" 2>/dev/null || true
  done
}

mounts_below() { findmnt -rn -o TARGET | awk -v top="$1" 'index($0, top "/") == 1' | sort -r; }

unmount_all() {
  end_root_processes
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
  done
  mounted=()
  # Whatever an interrupted debootstrap or run left behind.
  local target
  for target in $(mounts_below "$work"); do umount -l "$target" || true; done
}

# Removes a root only when nothing is mounted in it: a bound /dev would
# otherwise go with it.
remove_tree() {
  [ -e "$1" ] || return 0
  if [ -n "$(mounts_below "$1")" ]; then
    echo "check-package.sh: still mounted below $1; not removing it" >&2
    return 1
  fi
  rm -rf --one-file-system "$1"
}

on_exit() {
  local status=$?
  trap - EXIT INT TERM
  unmount_all
  if [ "$status" -ne 0 ] && [ "$failures" -eq 0 ]; then
    results+=("STOP  ${current:-before the first check} (status $status)")
    failures=1
  fi
  summary >&3
  [ "$status" -ne 0 ] || [ "$failures" -eq 0 ] || status=1
  exit "$status"
}

bind() {
  mount "$@" && mounted+=("${*: -1}")
}

# The mirror this machine's apt uses for a suite, from one-line and deb822
# sources; deb.debian.org when none serves it.
mirror_for() {
  local wanted=$1 files=() file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && files+=("$file")
  done
  {
    for file in "${files[@]}"; do
      case "$file" in
        *.sources)
          awk 'BEGIN { RS = "" }
            { uris = ""; suites = ""; types = ""
              n = split($0, lines, "\n")
              for (i = 1; i <= n; i++) {
                if (lines[i] ~ /^URIs:/) uris = substr(lines[i], 6)
                if (lines[i] ~ /^Suites:/) suites = substr(lines[i], 8)
                if (lines[i] ~ /^Types:/) types = substr(lines[i], 7)
              }
              if (types !~ /(^| )deb( |$)/) next
              nu = split(uris, u, " "); ns = split(suites, s, " ")
              for (a = 1; a <= nu; a++) for (b = 1; b <= ns; b++) print u[a], s[b] }' "$file"
          ;;
        *)
          awk '$1 == "deb" { i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ } print $i, $(i + 1) }' "$file"
          ;;
      esac
    done
  } | awk -v suite="$wanted" '$2 == suite { print $1; found = 1; exit } END { if (!found) exit 1 }' ||
    case "$wanted" in
      *-security) echo http://deb.debian.org/debian-security ;;
      *) echo http://deb.debian.org/debian ;;
    esac
}

# The bare root with this machine's mirrors and their package lists, so that
# a run only checks the lists for news.
make_base() {
  local mirror=$1 security=$2 stamp="$suite minbase $1 $2"
  if [ "$rebuild_root" -eq 0 ] && [ "$(cat "$base/.murmel-base" 2>/dev/null)" = "$stamp" ]; then
    echo "bare $suite root cached in $base"
    return 0
  fi
  remove_tree "$base.new" && remove_tree "$base" || return 1
  debootstrap --variant=minbase "$suite" "$base.new" "$mirror" || return 1
  cat >"$base.new/etc/apt/sources.list" <<EOF || return 1
deb $mirror $suite main
deb $mirror $suite-updates main
deb $security $suite-security main
EOF
  cp /etc/resolv.conf "$base.new/etc/resolv.conf" &&
    chroot "$base.new" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin apt-get update -q || return 1
  echo "$stamp" >"$base.new/.murmel-base"
  mv "$base.new" "$base"
}

# A fresh copy of the bare root with the mounts a program run needs.
prepare_root() {
  remove_tree "$root" || return 1
  cp -a "$base" "$root" || return 1
  rm -f "$root/.murmel-base"
  cp /etc/resolv.conf "$root/etc/resolv.conf" || return 1
  # No service of any package starts inside the root.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d" && chmod 755 "$root/usr/sbin/policy-rc.d" || return 1
  mkdir -p "$archives" &&
    bind -t proc proc "$root/proc" &&
    bind --bind /dev "$root/dev" &&
    bind --bind /dev/pts "$root/dev/pts" &&
    bind -t tmpfs -o mode=1777 tmpfs "$root/dev/shm" &&
    bind -t tmpfs -o mode=1777 tmpfs "$root/tmp" &&
    # Downloaded packages are kept between runs.
    bind --bind "$archives" "$root/var/cache/apt/archives" &&
    in_root useradd -m -s /bin/bash player &&
    in_root apt-get update -q
}

install_package() {
  cp "$deb" "$root/tmp/" && chmod 644 "$root/tmp/$(basename "$deb")" &&
    in_root apt -o APT::Keep-Downloaded-Packages=true install -y --no-install-recommends \
    "/tmp/$(basename "$deb")"
}

# Every library of the program resolves before anything else is installed,
# and SDL 1.2 is the compatibility layer over SDL 2 the game is tested on.
libraries_resolve() {
  in_root ldd /usr/games/murmel-worlds || return 1
  ! in_root ldd /usr/games/murmel-worlds | grep -q 'not found' || return 1
  local sdl
  sdl=$(in_root dpkg-query -S "$(in_root sh -c 'readlink -f "$(ldconfig -p | sed -n "s/^\tlibSDL-1.2.so.0 .*=> //p" |
    head -n 1)"')") || return 1
  echo "SDL 1.2 comes from: $sdl"
  notes+=("SDL 1.2 installed: ${sdl%%:*}")
  case "$sdl" in libsdl1.2-compat*) ;; *) return 1 ;; esac
}

install_check_tools() {
  in_root dpkg-query -W -f='${Package}\n' | sort >"$work/packages-before-tools"
  in_root apt-get -o APT::Keep-Downloaded-Packages=true install -y -q --no-install-recommends \
    xvfb xauth x11-apps man-db desktop-file-utils || return 1
  in_root dpkg-query -W -f='${Package}\n' | sort | comm -13 "$work/packages-before-tools" - \
    >"$work/packages-for-tools"
  echo "installed for the checks only: $(tr '\n' ' ' <"$work/packages-for-tools")"
}

# Starts the menu entry's command under Xvfb as the player, waits for the
# title's white ink, takes a screenshot, then ends the game as a session does.
title_screen() {
  local exec_line
  exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/murmel-worlds.desktop" | head -n 1 |
    sed 's/ *%[fFuUdDnNickvm]//g')
  [ -n "$exec_line" ] || { echo "no Exec= line in the desktop entry"; return 1; }
  echo "menu entry's command: $exec_line"
  printf '%s\n' "$exec_line" >"$root/tmp/exec-line"
  cat >"$root/tmp/play-title.sh" <<'EOF'
#!/bin/sh
# White pixels in the title's box (32, 32, 708 x 91) of a 32-bit root-window dump.
title_ink() {
  set -- "$1" $(od -An -v -tu1 -N100 "$1" | awk '
    { for (i = 1; i <= NF; i++) b[n++] = $i }
    function word(at) { return ((b[at] * 256 + b[at + 1]) * 256 + b[at + 2]) * 256 + b[at + 3] }
    END { print word(0) + word(76) * 12, word(48), word(44) }')
  [ "$4" = 32 ] || { echo 0; return; }
  tail -c +$(($2 + 32 * $3 + 1)) "$1" | head -c $((91 * $3)) | od -An -v -tu1 -w"$3" | awk '
    { for (x = 32; x < 740; x++) if ($(x * 4 + 1) >= 250 && $(x * 4 + 2) >= 250 && $(x * 4 + 3) >= 250) ink++ }
    END { print ink + 0 }'
}
exec_line=$(cat /tmp/exec-line)
echo "command=$(command -v "${exec_line%% *}")"
sh -c "exec $exec_line" >/tmp/game-out.txt 2>/tmp/game-err.txt &
pid=$!
ink=0
tries=0
while [ "$tries" -lt 120 ] && [ "$ink" -le 2000 ] && kill -0 "$pid" 2>/dev/null; do
  sleep 0.5
  xwd -root -silent >/tmp/title.xwd
  ink=$(title_ink /tmp/title.xwd)
  tries=$((tries + 1))
done
# The fade-in is over a second later.
sleep 1
xwd -root -silent >/tmp/title.xwd
echo "title_ink=$(title_ink /tmp/title.xwd)"
echo "seconds_to_title=$((tries / 2))"
if kill -0 "$pid" 2>/dev/null; then echo running=yes; else echo running=no; fi
kill -TERM "$pid" 2>/dev/null
waited=0
while kill -0 "$pid" 2>/dev/null && [ "$waited" -lt 20 ]; do sleep 0.5; waited=$((waited + 1)); done
if kill -0 "$pid" 2>/dev/null; then
  kill -KILL "$pid"
  echo status=hung
else
  wait "$pid"
  echo "status=$?"
fi
EOF
  chmod 755 "$root/tmp/play-title.sh"
  as_player "SDL_AUDIODRIVER=dummy LANG=C.UTF-8 xvfb-run -a -s '-screen 0 ${screen}x24' /tmp/play-title.sh" \
    >"$work/title-run.txt"
  cat "$work/title-run.txt"
  cp "$root/tmp/title.xwd" "$work/title.xwd" 2>/dev/null || true
  echo "standard output:"
  cat "$root/tmp/game-out.txt"
  echo "standard error:"
  cat "$root/tmp/game-err.txt"
  local ink running status
  ink=$(sed -n 's/^title_ink=//p' "$work/title-run.txt")
  running=$(sed -n 's/^running=//p' "$work/title-run.txt")
  status=$(sed -n 's/^status=//p' "$work/title-run.txt")
  [ "${ink:-0}" -gt 2000 ] && [ "$running" = yes ] && [ "$status" = 0 ] &&
    [ ! -s "$root/tmp/game-out.txt" ] && [ ! -s "$root/tmp/game-err.txt" ] &&
    [ -f "$root/home/player/.config/Murmel Worlds/config.txt" ]
}

manual_page() {
  as_player 'MANWIDTH=80 man --warnings -P cat murmel-worlds >/tmp/man.txt 2>/tmp/man-err.txt' || return 1
  head -n 5 "$root/tmp/man.txt"
  cat "$root/tmp/man-err.txt"
  [ ! -s "$root/tmp/man-err.txt" ] && grep -q 'murmel-worlds' "$root/tmp/man.txt"
}

# After "apt remove" none of the package's files, and nothing named after it
# outside the player's home, is left.
removal_leaves_nothing() {
  in_root dpkg-query -L murmel-worlds >"$work/package-files" && in_root apt remove -y murmel-worlds || return 1
  local path left=0
  while IFS= read -r path; do
    { [ -z "$path" ] || [ "$path" = /. ]; } && continue
    # An empty folder is left only when another package owns it.
    if [ -L "$root$path" ] || [ -f "$root$path" ] ||
      { [ -d "$root$path" ] && [ -z "$(ls -A "$root$path")" ] && ! in_root dpkg-query -S "$path" >/dev/null 2>&1; }; then
      echo "left behind: $path"
      left=1
    fi
  done <"$work/package-files"
  local stray
  stray=$(in_root find / -xdev \( -path /home -o -path /tmp -o -path /var/cache/apt/archives \) -prune -o \
    -iname '*murmel*' -print)
  [ -z "$stray" ] || { echo "left behind: $stray"; left=1; }
  in_root dpkg-query -W -f='${db:Status-Abbrev}\n' murmel-worlds 2>/dev/null | grep -q '^i' && left=1
  [ "$left" -eq 0 ]
}

mkdir -p "$work"
: >"$log"
exec 3>&1
trap on_exit EXIT
trap 'exit 130' INT TERM

check "tools on this machine (install-deps.sh --package-check)" "$repo/scripts/install-deps.sh" --package-check ||
  exit 1
# A sudo caller's build tree stays theirs.
builder=()
[ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ] && builder=(runuser -u "$SUDO_USER" --)
check "make package" "${builder[@]}" make -C "$repo" package JOBS="${JOBS:-2}" || exit 1
deb=$(ls -t "$repo"/build/murmel-worlds_*.deb | head -n 1)
notes+=("package: ${deb#"$repo"/}, $(du -k "$deb" | cut -f1) KiB")
notes+=("Depends: $(dpkg-deb -f "$deb" Depends)")
notes+=("Recommends: $(dpkg-deb -f "$deb" Recommends)")
printf '%s\n' "${notes[@]}"

echo "lintian says:"
lintian_status=0
"${builder[@]}" lintian -I --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || lintian_status=$?
if [ -s "$work/lintian.txt" ]; then sed 's/^/   /' "$work/lintian.txt"; else echo "   (nothing)"; fi
notes+=("lintian: $(grep -c '^E:' "$work/lintian.txt") error(s), $(grep -c '^W:' "$work/lintian.txt") warning(s), \
$(grep -c '^[IPX]:' "$work/lintian.txt") other tag(s)")
check "lintian reports no error" test "$lintian_status" -eq 0 || true

mirror=$(mirror_for "$suite")
security=$(mirror_for "$suite-security")
echo "mirror: $mirror (security: $security)"
check "bare $suite root (debootstrap, cached)" make_base "$mirror" "$security" || exit 1
check "fresh copy of the root with /proc, /dev and /tmp" prepare_root || exit 1
check "apt install ./$(basename "$deb") (Depends only)" install_package || exit 1
check "every library the program loads is installed" libraries_resolve || true
check "X server and checking tools, in the root only" install_check_tools || exit 1
check "menu entry's command reaches the title screen and quits" title_screen || true
check "man murmel-worlds renders without a warning" manual_page || true
check "desktop-file-validate" in_root desktop-file-validate /usr/share/applications/murmel-worlds.desktop || true
check "apt remove leaves no file of ours" removal_leaves_nothing || true
