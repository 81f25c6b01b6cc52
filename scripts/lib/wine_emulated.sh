# Sourced by wine.sh, and only where the emulated route is taken or tried:
# the 32-bit Wine on a kernel that runs no 32-bit code, each 32-bit process
# handed to qemu-i386 (fetched by scripts/setup) inside a user namespace.

WINE_EMULATOR=$wine_lib_top/build/tools/qemu-user/usr/bin/qemu-i386

# Runs a command in a user and mount namespace of its own whose binfmt_misc
# (the kernel gives each user namespace one) hands every 32-bit x86 ELF,
# executable or shared object, to qemu-i386: nothing outside sees the
# registration. Wine keeps its server and state per prefix, so everything
# that touches a prefix used here must run in here, the wineserver
# included.
#
# The caller is root in here only to mount; the command then runs without
# any capability, so that Wine is refused a file whose permissions refuse
# it, whoever started it, root included. Flag F: the kernel opens the
# emulator at registration, so its path need not be reachable later.
wine_in_namespace() {
  [ -x "$WINE_EMULATOR" ] || return 1
  unshare --user --map-root-user --mount --propagation private -- bash -c '
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc &&
      printf ":qemu-i386:M::%s:%s:%s:F" "$1" "$2" "$3" >/proc/sys/fs/binfmt_misc/register || exit 1
    shift 3
    exec setpriv --inh-caps=-all --bounding-set=-all -- "$@"' _ \
    '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
    '\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
    "$WINE_EMULATOR" "$@"
}
