#!/usr/bin/env bash
# check-fresh.sh [REF|REPO] [COMMAND...]: runs CI on a machine set up from nothing, as a new user's
# would be: a minimal Debian 12 made with debootstrap from this machine's Debian mirror, with this
# machine's apt sources and settings, resolver and certificates, a clean clone of REF (default:
# main of this repository; a path names another repository, at its HEAD) and COMMAND (default:
# bash .ci/run) run there as CI runs it. Prints the status and the time; exits with the status.
# Run as root. It takes most of an hour; it is not part of .ci/run.
# The packages debootstrap fetched are kept in build/fresh-cache, so a rerun downloads less; the
# machine itself is made anew each time (in /var/tmp) and removed at the end.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
say() { echo "check-fresh.sh: $*" >&2; }
[ "$(id -u)" -eq 0 ] || { say "run it as root (debootstrap, chroot and mounts need it)" && exit 1; }

# Everything below runs in a mount namespace of its own: the machine's mounts are never seen by
# the host, and go away with the last process in it even if this script is killed.
if [ "${TORVEL_FRESH_NAMESPACE:-}" != 1 ]; then
    TORVEL_FRESH_NAMESPACE=1 exec unshare --mount --propagation private bash "${BASH_SOURCE[0]}" "$@"
fi

source=${1:-main}
shift || true
command=("$@")
((${#command[@]})) || command=(bash .ci/run)
if [ -d "$source" ]; then
    from=$(cd "$source" && pwd) ref=HEAD
else
    from=$repo ref=$source
fi
commit=$(git -C "$from" rev-parse --verify "$ref^{commit}") || { say "no commit $ref in $from" && exit 1; }

# This machine's Debian mirror: the first apt source carrying bookworm itself.
mirror=$(
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] && sed -E 's/\[[^]]*\]//' "$f" | awk '$1 == "deb" && $3 == "bookworm" {print $2}'
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && awk 'BEGIN {RS = ""} /(^|\n)Suites:[^\n]*[[:space:]]bookworm([[:space:]]|$)/ &&
            /(^|\n)Types:[^\n]*[[:space:]]deb([[:space:]]|$)/ && match($0, /(^|\n)URIs:[[:space:]]*[^[:space:]]+/) {
                u = substr($0, RSTART, RLENGTH); sub(/^\n?URIs:[[:space:]]*/, "", u); print u }' "$f"
    done | head -n 1
)
[ -n "$mirror" ] || { say "no apt source for bookworm on this machine" && exit 1; }

if ! command -v debootstrap >/dev/null; then
    apt-get -o DPkg::Lock::Timeout=600 update -qq
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends \
        debootstrap >/dev/null
fi

cache=$repo/build/fresh-cache
mkdir -p "$cache" /var/tmp
root=$(mktemp -d /var/tmp/torvel-fresh.XXXXXX)
chmod 755 "$root"  # the machine's /: apt's own user and the tests' users pass through it

# Anything still mounted at or under the machine's root (mountinfo escapes spaces; mktemp's names
# have none).
mounted() { awk -v r="$root" '$5 == r || index($5, r "/") == 1 {print $5}' /proc/self/mountinfo; }
cleanup() {
    local status=$? pid left
    set +e
    # Programs still running in the machine (a Wine server, an X server) hold its mounts.
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -KILL "$pid" 2>/dev/null
    done
    sleep 1
    for _ in 1 2 3; do
        mounted | sort -r | while read -r m; do umount "$m" 2>/dev/null || umount -l "$m"; done
        [ -z "$(mounted)" ] && break
        sleep 2
    done
    left=$(mounted)
    if [ -n "$left" ]; then
        # A recursive delete through a bound /dev would empty the host's: leave it all in place.
        say "still mounted, so $root is NOT removed:" && echo "$left" >&2
        exit 1
    fi
    rm -rf --one-file-system "$root"
    rm -f "$root.debootstrap.log"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

say "making Debian 12 in $root from $mirror"
# git and ca-certificates: every machine of ours has them, and the clone needs them.
debootstrap --variant=minbase --include=git,ca-certificates --cache-dir="$cache" \
    bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -n 30 "$root.debootstrap.log" >&2 && exit 1; }

# What this machine gives its programs: apt's sources, settings and keys, the resolver, the
# certificates (the local ones join the machine's bundle) and npm's setting of them.
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
rm -f "$root/etc/apt/sources.list"
for d in sources.list sources.list.d apt.conf.d preferences.d auth.conf.d trusted.gpg.d; do
    [ -e "/etc/apt/$d" ] && cp -a "/etc/apt/$d" "$root/etc/apt/"
done
for k in $(grep -rhoE 'Signed-By: */[^ ]+|signed-by=/[^] ]+' /etc/apt/sources.list* 2>/dev/null |
    sed -E 's/^[^/]*//'); do
    [ -e "$root$k" ] || { mkdir -p "$root$(dirname "$k")" && cp -L "$k" "$root$k"; }
done
[ -d /usr/local/share/ca-certificates ] && cp -a /usr/local/share/ca-certificates/. "$root/usr/local/share/ca-certificates/"
[ -f /etc/npmrc ] && cp /etc/npmrc "$root/etc/npmrc"
# No service a package installs starts in the machine.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

# The kernel's file systems, for Xorg, Chromium and Wine.
mount -t proc proc "$root/proc"
for d in sys dev dev/pts dev/shm; do
    mount --bind "/$d" "$root/$d"
done
mount -o remount,bind,ro "$root/sys"

chroot "$root" update-ca-certificates >/dev/null 2>&1 || { say "update-ca-certificates failed in the machine" && exit 1; }
git clone -q --no-hardlinks "$from" "$root/root/torvel-room"
git -C "$root/root/torvel-room" checkout -q --detach "$commit"

# CI's environment: nothing from this shell, no input, no terminal.
ci_env=(PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root USER=root LOGNAME=root
    SHELL=/bin/bash CI=true LANG=C.UTF-8)
for v in SSL_CERT_FILE SSL_CERT_DIR CURL_CA_BUNDLE GIT_SSL_CAINFO NODE_EXTRA_CA_CERTS REQUESTS_CA_BUNDLE; do
    [ -n "${!v:-}" ] && [ -e "$root${!v}" ] && ci_env+=("$v=${!v}")
done
say "running '${command[*]}' at ${commit:0:7} on a fresh machine"
start=$(date +%s)
status=0
chroot "$root" /usr/bin/env -i "${ci_env[@]}" bash -c 'cd /root/torvel-room && exec "$@"' ci "${command[@]}" \
    </dev/null || status=$?
elapsed=$(($(date +%s) - start))
say "'${command[*]}' at ${commit:0:7}: status $status, $((elapsed / 60)) min $((elapsed % 60)) s"
exit "$status"
