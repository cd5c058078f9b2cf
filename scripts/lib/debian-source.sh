#!/usr/bin/env bash
# debian-source.sh PACKAGE[=VERSION] DIR: Debian's source package, unpacked into DIR/PACKAGE.
# The deb-src entries are derived from this machine's own apt sources and live in a private
# apt state for this one download, so the machine's apt set-up is left as it was.
set -euo pipefail
wanted=${1:?usage: debian-source.sh PACKAGE[=VERSION] DIR}
dest=${2:?usage: debian-source.sh PACKAGE[=VERSION] DIR}
name=${wanted%%=*}
if [ -d "$dest/$name" ]; then exit 0; fi
command -v dpkg-source >/dev/null || {
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq \
        --no-install-recommends dpkg-dev >&2
}

state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
mkdir -p "$state/parts" "$state/lists/partial" "$state/get"
# One-line lists: every "deb" line again as "deb-src". deb822 files: every stanza whose types
# name "deb", with "deb-src" as its type.
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
done >"$state/parts/derived.list"
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN {RS = ""; ORS = "\n\n"}
         /(^|\n)Types:[^\n]*[[:space:]]deb([[:space:]]|$)/ || /(^|\n)Types:[[:space:]]*deb([[:space:]]|$)/ {
             sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' "$f"
done >"$state/parts/derived.sources"

apt_private=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$state/parts"
    -o "Dir::State::Lists=$state/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
    -o APT::Sandbox::User=root -o Debug::NoLocking=1)
apt-get "${apt_private[@]}" update -qq >&2
if (cd "$state/get" && apt-get "${apt_private[@]}" source -qq --download-only "$wanted" >&2); then
    dpkg-source -x "$state"/get/*.dsc "$state/unpacked" >&2
else
    # Some mirrors keep a source's upstream tarball but not its Debian diff (which holds only
    # the packaging): take the tarball alone, checked against the description's checksum.
    dsc=$(ls "$state"/get/*.dsc 2>/dev/null) || { echo "no source package $wanted" >&2 && exit 1; }
    orig=$(ls "$state"/get/*.orig.tar.* 2>/dev/null) || { echo "no upstream tarball of $wanted" >&2 && exit 1; }
    sum=$(sha256sum "$orig" | cut -d' ' -f1)
    grep -q " $sum [0-9]* ${orig##*/}$" "$dsc" || { echo "checksum mismatch: ${orig##*/}" >&2 && exit 1; }
    echo "Using the upstream tarball of $wanted alone" >&2
    mkdir "$state/unpacked"
    tar -xf "$orig" -C "$state/unpacked" --strip-components=1
fi
mkdir -p "$dest"
mv "$state/unpacked" "$dest/$name"
