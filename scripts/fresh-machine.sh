#!/usr/bin/env bash
# Runs the README's commands as a new user would: on a fresh Debian root of RELEASE (trixie,
# Debian 13, or bookworm, Debian 12) made with mmdebstrap (git, make and the certificates,
# nothing else), this checkout's commit cloned into it, and no display. Each argument after it
# is one command line, run in the clone in turn; after `make run`, its screenshot must show the
# die. VEXO_APT_CACHE, when set, is a folder of downloaded packages that roots made one after
# another share; never a built tree. The root is unmounted and removed on every way out. Needs
# root. Usage: fresh-machine.sh RELEASE COMMAND...
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
top=$(cd "$(dirname "$0")/.." && pwd)
release=$1
shift
case $release in
    trixie | bookworm) ;;
    *) echo "fresh-machine.sh: RELEASE is trixie or bookworm, not '$release'" >&2; exit 2 ;;
esac
[[ $(id -u) -eq 0 ]] || { echo "fresh-machine.sh: making a root and entering it needs root" >&2; exit 1; }
command -v mmdebstrap >/dev/null || "$top/scripts/deps.sh" mmdebstrap

root=$(mktemp -d /var/tmp/vexo-fresh.XXXXXX)
mounts=(proc sys dev dev/pts dev/shm)
[[ -z ${VEXO_APT_CACHE:-} ]] || mounts+=(var/cache/apt/archives)
cleanup() {
    # Whatever still runs inside (a server a test left behind) would keep the mounts busy.
    local p
    for p in /proc/[0-9]*; do
        if [[ $(readlink "$p/root" 2>/dev/null) == "$root" ]]; then kill -9 "${p#/proc/}" 2>/dev/null || true; fi
    done
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        if mountpoint -q "$root/${mounts[i]}"; then
            umount -R "$root/${mounts[i]}" 2>/dev/null || umount -R -l "$root/${mounts[i]}"
        fi
    done
    # Nothing is removed while anything is still mounted inside.
    if grep -q " $root/" /proc/mounts; then
        echo "fresh-machine.sh: $root still has mounts, so it is left in place" >&2
        exit 1
    fi
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT

echo "fresh-machine: a $release root with git, make and ca-certificates, in $root" >&2
mmdebstrap --quiet --variant=apt --include=git,make,ca-certificates "$release" "$root"
for m in "${mounts[@]}"; do
    if [[ $m == var/cache/apt/archives ]]; then
        mkdir -p "$VEXO_APT_CACHE/partial"
        mount --bind "$VEXO_APT_CACHE" "$root/$m"
    else
        mount --bind "/$m" "$root/$m"
    fi
done

# Name resolution and the trusted certificates, as a new machine on this network is given them,
# and the environment variables that point at them.
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/" 2>/dev/null || true
chroot "$root" update-ca-certificates >/dev/null
environment=(HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8)
for name in $(compgen -e); do
    case $name in *CERT* | *_CA_* | *_CA | *SSL_* | [Hh][Tt][Tt][Pp]*_[Pp][Rr][Oo][Xx][Yy] | [Nn][Oo]_[Pp][Rr][Oo][Xx][Yy]) ;; *) continue ;; esac
    value=${!name}
    if [[ $value != /* || -e $root$value ]]; then environment+=("$name=$value"); fi
done
# Tests that need a display fail rather than skip under CI.
[[ -z ${CI:-} ]] || environment+=(CI="$CI")

git clone -q --no-checkout "$top" "$root/root/vexo"
git -C "$root/root/vexo" checkout -q --detach "$(git -C "$top" rev-parse HEAD)"
for command in "$@"; do
    echo "fresh-machine ($release): $command" >&2
    start=$SECONDS
    chroot "$root" env -i "${environment[@]}" bash -c "cd /root/vexo && $command"
    echo "fresh-machine ($release): $command took $((SECONDS - start)) s" >&2
    if [[ $command == "make run" ]]; then
        # Measured inside, with the root's own ImageMagick.
        die=$(chroot "$root" bash -c 'source /root/vexo/scripts/lib.sh && die_share /root/vexo/build/vexo.png')
        shows_die "$die" ||
            { echo "fresh-machine: make run's screenshot shows no die (${die} of it is not background)" >&2; exit 1; }
        echo "fresh-machine: make run's screenshot shows the die (${die} of it)" >&2
    fi
done
