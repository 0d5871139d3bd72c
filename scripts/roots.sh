# Sourced by scripts/fresh-check and scripts/release: bare Debian roots made with debootstrap,
# commands run inside them, and taking them down again without touching the host.

# The host's own Debian mirror, as its apt sources name it (one-line or deb822 files alike); it
# serves every release.
host_mirror()
{
    local host_release mirror
    host_release=$(. /etc/os-release && echo "$VERSION_CODENAME")
    mirror=$(apt-get indextargets --no-release-info --format '$(REPO_URI)' "Release: $host_release" \
        'Component: main' 'Identifier: Packages' | head -n1)
    if [ -z "$mirror" ]; then
        echo "the host's apt sources name no $host_release main archive to bootstrap from" >&2
        return 1
    fi
    echo "$mirror"
}

# Lists the mount points at or under a root, deepest first.
mounts_under()
{
    findmnt -rn -o TARGET | awk -v root="$1" '$0 == root || index($0, root "/") == 1' |
        awk '{print length, $0}' | sort -rn | cut -d' ' -f2-
}

# Ends, by process id, whatever still runs with its root inside one of ours.
end_processes_in()
{
    local root=$1 link pid
    for link in /proc/[0-9]*/root; do
        pid=${link#/proc/}
        pid=${pid%/root}
        [ "$pid" = "$$" ] && continue
        case $(readlink "$link" 2>/dev/null) in
        "$root" | "$root"/*) kill -KILL "$pid" 2>/dev/null || true ;;
        esac
    done
}

# Ends what runs in a root, unmounts everything under it and removes it. Fails, leaving it in
# place, while something stays mounted: removing it then would reach into the host.
remove_root()
{
    local root=$1 target
    end_processes_in "$root"
    while read -r target; do
        [ -n "$target" ] || continue
        umount "$target" || umount --lazy "$target"
    done < <(mounts_under "$root")
    if [ -n "$(mounts_under "$root")" ]; then
        echo "still mounted under $root, left in place:" >&2
        mounts_under "$root" >&2
        return 1
    fi
    rm -rf --one-file-system -- "$root"
}

# Runs a command inside a root with a clean environment, as a login as root would have it.
in_root()
{
    local root=$1
    shift
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}

# The host's devices and kernel views, and the X socket folder unless told otherwise, so that
# programs in the root can build and show windows on the X server outside.
mount_host_dirs()
{
    local root=$1 dir
    shift
    [ $# -gt 0 ] || set -- /proc /sys /dev /dev/pts /tmp/.X11-unix
    # The root a mount of its own, private, so that a test inside can make a mount namespace
    # of its own (unshare needs / to be a mount point) and nothing mounted there reaches out.
    mount --bind "$root" "$root"
    mount --make-private "$root"
    for dir in "$@"; do
        mkdir -p "$root$dir"
        mount --bind "$dir" "$root$dir"
        mount --make-private "$root$dir"
    done
}

# Bootstraps a bare root of a release into an empty folder; its log goes to the file LOG.
bootstrap_root()
{
    local release=$1 root=$2 mirror=$3 log=$4
    debootstrap --variant=minbase "$release" "$root" "$mirror" >"$log" 2>&1 || {
        tail -n 40 "$log" >&2
        return 1
    }
    # No service a package brings may start on the host's behalf.
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
    chmod 755 "$root/usr/sbin/policy-rc.d"
}
