# Sourced by wine.sh, and only where the emulated route is taken or tried:
# the 32-bit Wine on a kernel that runs no 32-bit code, each 32-bit process
# handed to qemu-i386 (fetched by scripts/setup) inside a user namespace.

WINE_EMULATOR=$wine_lib_top/build/tools/qemu-user/usr/bin/qemu-i386

# Runs a command in a user and mount namespace of its own whose binfmt_misc
# (the kernel gives each user namespace one) hands every 32-bit x86 ELF to
# qemu-i386: nothing outside sees the registration. Wine keeps its server
# and state per prefix, so everything that touches a prefix used here must
# run in here, the wineserver included. Already inside, it just runs it.
#
# Run as root, every id is mapped to itself, written from outside as root
# may, not just root (unshare --map-root-user): the fault tests' player
# must exist in here for setpriv to become it, and a file the player may
# not write is refused in here as outside. Anyone else is mapped to root in
# here, which they need only to mount; the command then runs without any
# capability, so that, as outside, their Wine is refused a file they may
# not write. Until the map is written the command's shell has no
# capabilities; it waits for it, then execs the part that mounts.
wine_in_namespace() {
  if [ -n "${WINE_IN_NAMESPACE:-}" ]; then
    "$@"
    return
  fi
  [ -x "$WINE_EMULATOR" ] || return 1
  local ready namespace status=0 drop=
  ready=$(mktemp -u /tmp/patchcfg-userns.XXXXXX) && mkfifo "$ready" || return 1
  # Standard input given explicitly: a command sent to the background
  # would otherwise get /dev/null. Where there is none at all, /dev/null.
  [ -e "/proc/$BASHPID/fd/0" ] || exec </dev/null
  [ "$(id -u)" -eq 0 ] || drop=1
  unshare --user --mount --propagation private -- \
    bash -c 'read -r _ <"$0" && exec "$@"' "$ready" \
    bash -c "$(declare -f wine_register_emulator)"'; wine_register_emulator "$1" || exit 1
      drop=() && [ -z "$2" ] || drop=(setpriv --inh-caps=-all --bounding-set=-all --)
      shift 2 && exec "${drop[@]}" "$@"' \
    _ "$WINE_EMULATOR" "$drop" "$@" <&0 &
  namespace=$!
  for _ in $(seq 250); do
    [ "$(readlink /proc/$namespace/ns/user)" != "$(readlink /proc/$$/ns/user)" ] && break
    sleep 0.02
  done
  local uids="0 0 4294967295" gids="0 0 4294967295"
  if [ -n "$drop" ]; then
    # Anyone else may map only themselves, and may not then change their
    # groups.
    uids="0 $(id -u) 1" gids="0 $(id -g) 1"
    echo deny >"/proc/$namespace/setgroups"
  fi
  if echo "$uids" >"/proc/$namespace/uid_map" && echo "$gids" >"/proc/$namespace/gid_map"; then
    timeout 10 bash -c 'echo >"$0"' "$ready" || kill "$namespace"
  else
    kill "$namespace"
  fi
  wait "$namespace" || status=$?
  rm -f "$ready"
  return $status
}

# In the namespace: its own binfmt_misc, the emulator ($1) registered for
# 32-bit x86 executables and shared objects (ELF type 2 or 3, machine 3).
# Flag F: the kernel opens the emulator now, so a user who cannot reach its
# path (the player) runs it as well.
wine_register_emulator() {
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc &&
    printf ':qemu-i386:M::%s:%s:%s:F' \
      '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
      '\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
      "$1" >/proc/sys/fs/binfmt_misc/register &&
    export WINE_IN_NAMESPACE=1
}
