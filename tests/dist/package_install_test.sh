#!/usr/bin/env bash
# Makes the Debian package from this build tree, checks its contents and
# installs it, then runs the installed programs as an ordinary user: the
# versions, `zk-h41-cli show` on a plan, and the desktop program offscreen
# from the login window with the default password into the main window,
# where the password is changed; the new password must then be in that
# user's own data folder, readable by that user alone.
#
# As root (as in CI) the package is installed on this machine with apt-get
# and a user is made for the test; both are removed at the end. Otherwise
# the package is unpacked into a scratch root and run by the current user
# with a scratch home folder.
#
#   package_install_test.sh BUILD_DIR GUI_DRIVER.so PLAN.bc
set -euo pipefail

build=$1 driver=$2 plan=$3
user=zk-h41-pkgtest
marker="zk-h41 package test"
new_password='Sw0rd fish'

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }

work=$(mktemp -d /tmp/zk-h41-package-test.XXXXXX)
installed='' created=''
cleanup() {
  [ -n "$installed" ] && apt-get purge -y -q -o DPkg::Lock::Timeout=300 zk-h41 >/dev/null
  [ -n "$created" ] && userdel --remove "$user" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
# The test user reads the driver and the plan from here.
chmod 755 "$work"

# ---- the package ----------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(echo "$work"/package/zk-h41_*.deb)
[ -f "$deb" ] || fail "no .deb made: $(ls "$work/package")"
version=$(dpkg-deb -f "$deb" Version)
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no library dependencies: $(dpkg-deb -f "$deb" Depends)"

listing=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for f in bin/zk-h41 bin/zk-h41-cli bin/zk-h41-sim \
  share/applications/org.zkh41.Programmer.desktop \
  share/metainfo/org.zkh41.Programmer.metainfo.xml \
  share/mime/packages/org.zkh41.Programmer.xml \
  share/icons/hicolor/scalable/apps/org.zkh41.Programmer.svg \
  share/icons/hicolor/48x48/apps/org.zkh41.Programmer.png \
  share/icons/hicolor/256x256/apps/org.zkh41.Programmer.png \
  share/man/man1/zk-h41.1.gz share/man/man1/zk-h41-cli.1.gz share/man/man1/zk-h41-sim.1.gz \
  share/zk-h41/image/1.bc share/zk-h41/image/2.bc share/zk-h41/image/1.jpg \
  share/zk-h41/lists/pmr446.csv share/zk-h41/lists/frs.csv share/zk-h41/lists/murs.csv \
  share/zk-h41/web/index.html share/zk-h41/web/app.mjs share/zk-h41/web/zk-h41-core.js share/zk-h41/web/zk-h41-core.wasm \
  share/doc/zk-h41/copyright share/doc/zk-h41/changelog.gz share/doc/zk-h41/70-zk-h41-cable.rules; do
  grep -qx "\./usr/$f" <<<"$listing" || fail "the package lacks /usr/$f"
done

dpkg-deb -x "$deb" "$work/root"
for program in zk-h41 zk-h41-cli zk-h41-sim; do
  file "$work/root/usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"
done
grep -qx 'License: MIT' "$work/root/usr/share/doc/zk-h41/copyright" || fail "no SPDX licence line in copyright"
gzip -t "$work/root/usr/share/man/man1/zk-h41.1.gz" || fail "manual page not gzip'd"

# ---- installed, and an ordinary user --------------------------------------
if [ "$(id -u)" -eq 0 ]; then
  if dpkg-query -W -f='${Status}' zk-h41 2>/dev/null | grep -q 'ok installed'; then
    skip "zk-h41 is installed on this machine already; not replacing it"
  fi
  if id "$user" >/dev/null 2>&1; then
    # Left behind by a run that was killed; anyone else's user stays.
    [ "$(getent passwd "$user" | cut -d: -f5)" = "$marker" ] || fail "user $user exists and is not this test's"
    userdel --remove "$user" 2>/dev/null || true
  fi
  useradd --create-home --comment "$marker" --shell /bin/sh "$user"
  created=yes
  home=$(getent passwd "$user" | cut -d: -f6)
  installed=yes
  apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 "$deb" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt-get install"; }
  bin=/usr/bin
  mkdir -m 700 "$work/runtime" && chown "$user" "$work/runtime"
  as_user=(runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$work/runtime")
else
  home=$work/home
  mkdir "$home" && mkdir -m 700 "$work/runtime"
  bin=$work/root/usr/bin
  as_user=(env -i HOME="$home" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$work/runtime")
fi
data=$home/.local/share/zk-h41/image

# --help and --version work without a display: the toolkit would abort
# without one on its xcb platform.
[ "$("${as_user[@]}" QT_QPA_PLATFORM=xcb "$bin/zk-h41" --version)" = "zk-h41 $version" ] || fail "zk-h41 --version"
[ "$("${as_user[@]}" "$bin/zk-h41-cli" --version)" = "zk-h41-cli $version" ] || fail "zk-h41-cli --version"
[ "$("${as_user[@]}" "$bin/zk-h41-sim" --version)" = "zk-h41-sim $version" ] || fail "zk-h41-sim --version"
help=$("${as_user[@]}" QT_QPA_PLATFORM=xcb "$bin/zk-h41" --help)
grep -qF "$data/" <<<"$help" || fail "--help does not name $data/: $help"
[ ! -e "$data" ] || fail "--help made the data folder"

cp "$plan" "$work/plan.bc" && chmod 644 "$work/plan.bc"
shown=$("${as_user[@]}" "$bin/zk-h41-cli" show "$work/plan.bc")
grep -q '^2  *145\.50000  *145\.50000  *D023N' <<<"$shown" || fail "zk-h41-cli show: $shown"

cp "$driver" "$work/driver.so" && chmod 644 "$work/driver.so"
status=0
timeout 120 "${as_user[@]}" QT_QPA_PLATFORM=offscreen LD_PRELOAD="$work/driver.so" \
  ZK_DRIVER_PASSWORD=123456 ZK_DRIVER_NEW_PASSWORD="$new_password" \
  "$bin/zk-h41" >"$work/gui.log" 2>&1 || status=$?
cat "$work/gui.log"
[ "$status" -eq 0 ] || fail "the desktop program ended with status $status"
grep -qx 'gui driver: login window: ZK-H41 Program Setting' "$work/gui.log" || fail "no login window with the default title"
grep -qx 'gui driver: main window: ZK-H41 Program Setting' "$work/gui.log" || fail "no main window"
grep -qx 'gui driver: quit' "$work/gui.log" || fail "the program did not quit from its menu"

# The user's own side files: the new password, for the owner's eyes only;
# title and picture as installed.
printf '%s\r\n' "$new_password" | cmp - "$data/1.bc" || fail "the password file holds: $(od -c "$data/1.bc")"
[ "$(stat -c '%a %U' "$data/1.bc")" = "600 $(stat -c %U "$home")" ] || fail "password file: $(stat -c '%a %U' "$data/1.bc")"
cmp "$data/2.bc" "${bin%/bin}/share/zk-h41/image/2.bc" || fail "title file"
cmp "$data/1.jpg" "${bin%/bin}/share/zk-h41/image/1.jpg" || fail "picture file"
echo "PASS: zk-h41 $version installed and used by $(stat -c %U "$home")"
