#!/usr/bin/env bash
# Proves the README's promise on a pristine Debian 12: makes a minimal Debian 12 root with
# debootstrap from this machine's own apt sources, installs only git in it, clones the commit under
# test and runs `./tools/dev.sh test` there twice, then `./tools/dev.sh windows` once. Fails when
# anything fails or a test is skipped. Needs root (chroot and mounts). The root lives in the build
# folder and is made anew every run; a tarball of the downloaded base system is kept beside it to
# make reruns quicker.
#   tools/fresh-machine-check.sh            (QUILLBEAM_BUILD_DIR sets the build folder)
set -euo pipefail
checkout=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLBEAM_BUILD_DIR:-$checkout/build}
work=$(realpath -m "$build/fresh-machine")
root=$work/root
base_tarball=$work/bookworm-minbase.tgz
log=$work/log
commit=$(git -C "$checkout" rev-parse HEAD)
git_dir=$(git -C "$checkout" rev-parse --path-format=absolute --git-common-dir)
inner_source=/srv/quillbeam.git
inner_checkout=/root/quillbeam

if [ "$(id -u)" -ne 0 ]; then
  echo "$0: needs root, for debootstrap, chroot and mounts" >&2
  exit 1
fi
command -v debootstrap >/dev/null || { echo "$0: debootstrap is missing; tools/install-deps.sh ci installs it" >&2; exit 1; }

# Ends what still runs inside the root (a leftover X server or browser), then unmounts
# everything beneath it, innermost first. Runs on every exit.
unmount_all() {
  local pid
  for pid in /proc/[0-9]*; do
    [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ] && kill -KILL "${pid#/proc/}" 2>/dev/null
  done
  local mounts
  mounts=$(findmnt -rn -o TARGET | grep -E "^$root(/|$)" | sort -r) || true
  for target in $mounts; do
    umount "$target" 2>/dev/null || umount -l "$target"
  done
  return 0
}
trap unmount_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

unmount_all
rm -rf "$root"
mkdir -p "$root" "$work"
: >"$log"
started=$(date +%s)
step() { echo "[$(($(date +%s) - started)) s] $*"; }

# The base system, from the mirror this machine's apt uses.
mirror=$(apt-get indextargets --format '$(RELEASE) $(REPO_URI)' 'Identifier: Packages' |
         awk '$1 == "bookworm" { print $2; exit }')
[ -n "$mirror" ] || { echo "$0: this machine's apt has no bookworm source" >&2; exit 1; }
if [ ! -f "$base_tarball" ]; then
  step "downloading the Debian 12 base system"
  rm -rf "$work/tarball-root"
  debootstrap --variant=minbase --make-tarball="$base_tarball.part" bookworm "$work/tarball-root" \
    "$mirror" >>"$log" 2>&1 || { tail -20 "$log" >&2; exit 1; }
  mv "$base_tarball.part" "$base_tarball"
  rm -rf "$work/tarball-root"
fi
step "unpacking a minimal Debian 12 root"
debootstrap --variant=minbase --unpack-tarball="$base_tarball" bookworm "$root" "$mirror" \
  >>"$log" 2>&1 || { tail -20 "$log" >&2; exit 1; }

# The machine's apt sources and settings, extra certificate authorities and npm settings: the
# downloads may pass through an inspecting proxy. ca-certificates itself is not installed here;
# the project's install step must bring it.
rm -f "$root/etc/apt/sources.list"
cp /etc/apt/sources.list.d/*.sources "$root/etc/apt/sources.list.d/" 2>/dev/null || true
[ -f /etc/apt/sources.list ] && cp /etc/apt/sources.list "$root/etc/apt/"
cp /etc/apt/apt.conf.d/99* "$root/etc/apt/apt.conf.d/" 2>/dev/null || true
if compgen -G '/usr/local/share/ca-certificates/*' >/dev/null; then
  mkdir -p "$root/usr/local/share/ca-certificates"
  cp -r /usr/local/share/ca-certificates/. "$root/usr/local/share/ca-certificates/"
fi
[ -f "$HOME/.npmrc" ] && cp "$HOME/.npmrc" "$root/root/.npmrc"

# The root is thrown away after the check: dpkg need not wait for each file to reach the disk.
echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/unsafe-io"

# The root as a mount point of its own, so that mount namespaces work inside as on a machine.
mount --bind "$root" "$root"
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev "$root/dev"
mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$root/dev/pts"
mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
mkdir -p "$root$inner_source"
mount --bind -o ro "$git_dir" "$root$inner_source"

inside() {
  chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt "$@"
}

step "installing git"
inside apt-get update -qq >>"$log" 2>&1
inside env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends git \
  >>"$log" 2>&1 || { tail -20 "$log" >&2; exit 1; }
step "cloning $commit"
inside git clone -q --no-checkout "$inner_source" "$inner_checkout"
inside git -C "$inner_checkout" checkout -q --detach "$commit"

status=0
# check <name> <its build folder> <command>: runs a README command in the clone; a failure, or a
# test skipped for want of a tool, fails the check. Skips are ctest's own, and those inside
# GoogleTest and QtTest programs, which only the full test log shows.
check() {
  local name=$1 folder=$2 command=$3 output=$work/$1.log skipped
  step "$name: $command"
  if ! inside bash -c "cd $inner_checkout && $command" >"$output" 2>&1; then
    tail -40 "$output" >&2
    echo "FAIL: $name, $command, failed (whole output: $output)" >&2
    status=1
    return
  fi
  grep -E '^(Installing: |[0-9]+% tests passed)' "$output" || true
  skipped=$(grep -E '\((Skipped|Not Run|Disabled)\)|\[  SKIPPED \] [A-Za-z]|^SKIP   :' \
              "$output" "$root$inner_checkout/$folder/Testing/Temporary/LastTest.log" || true)
  if [ -n "$skipped" ]; then
    echo "$skipped" >&2
    echo "FAIL: $name skipped tests (whole output: $output)" >&2
    status=1
  fi
}
check run-1 build "./tools/dev.sh test"
check run-2 build "./tools/dev.sh test"
# The README's Windows command, once, on the same machine.
check windows build-windows "./tools/dev.sh windows"

node_version=$(inside node --version 2>/dev/null || echo none)
step "done; Node.js $node_version"
[ "$status" -eq 0 ] &&
  echo "PASS: on a fresh Debian 12 root, ./tools/dev.sh test passed twice and ./tools/dev.sh windows once, nothing skipped"
exit "$status"
