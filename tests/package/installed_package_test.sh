#!/usr/bin/env bash
# The program as a user gets it: builds the Debian package, unpacks it into a temporary root made
# read-only and uses it with a home of its own. The unpacked tarnex and tarnex-bank answer
# --version and list; the program, started offscreen and driven through its windows by
# ExamDriver, makes the user's program folder with the delivered data and records an answer
# there; a second start keeps it; the unpacked files stay untouched. lintian, appstreamcli and
# desktop-file-validate judge the package where they are installed.
#   installed_package_test.sh BUILD_DIR EXAM_DRIVER VERSION CPACK
set -euo pipefail

build=$1
driver=$2
version=$3
cpack=$4

for tool in dpkg-deb dpkg-shlibdeps file; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed: the package cannot be built here"
    exit 77
  fi
done

tmp=$(mktemp -d)
cleanup() {
  chmod -R u+w "$tmp" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
show_and_fail() {
  local log=$1
  shift
  cat "$log" >&2
  fail "$@"
}

# The package, made from the build as `cmake --build build --target package` makes it.
"$cpack" --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 ||
  show_and_fail "$tmp/cpack.log" "cpack could not build the package"
deb=$tmp/out/velquarn_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$tmp/out")"
echo "built $(basename "$deb") ($(stat -c %s "$deb") bytes)"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velquarn ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version), expected $version"
depends=$(field Depends)
for library in libqt6widgets6 libqt6webenginewidgets6 libsqlcipher; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
grep -q fonts-wqy-zenhei <<<"$(field Recommends)" || fail "no CJK font recommended"

root=$tmp/root
dpkg-deb -x "$deb" "$root"
lib=$root/usr/lib/velquarn
for path in usr/bin/tarnex usr/bin/tarnex-bank \
  usr/lib/velquarn/tarnex usr/lib/velquarn/tarnex-bank \
  usr/lib/velquarn/libtarnex_webpanel.so usr/lib/velquarn/libtarnex_camera.so \
  usr/lib/velquarn/kstk.dat usr/lib/velquarn/titao.dat usr/lib/velquarn/kjkm.dat \
  usr/lib/velquarn/velquarn-installed \
  usr/share/applications/org.velquarn.velquarn.desktop \
  usr/share/metainfo/org.velquarn.velquarn.metainfo.xml \
  usr/share/icons/hicolor/48x48/apps/org.velquarn.velquarn.png \
  usr/share/icons/hicolor/256x256/apps/org.velquarn.velquarn.png \
  usr/share/man/man1/tarnex.1.gz usr/share/man/man1/tarnex-bank.1.gz \
  usr/share/doc/velquarn/copyright usr/share/doc/velquarn/changelog.gz; do
  [ -e "$root/$path" ] || fail "the package lacks /$path"
done
[ -L "$root/usr/bin/tarnex" ] || fail "/usr/bin/tarnex is not a link into /usr/lib/velquarn"
# Whatever data the build puts beside the program is delivered with it.
for name in kstk.dat titao.dat kjkm.dat ci.ini zhangtao; do
  if [ -e "$build/bin/$name" ] && [ ! -e "$lib/$name" ]; then
    fail "the build's $name is not in the package"
  fi
done
zcat "$root/usr/share/doc/velquarn/changelog.gz" | head -n 1 | grep -qF "velquarn ($version)" ||
  fail "the changelog's newest entry is not $version"
grep -qF "<release version=\"$version\"" "$root/usr/share/metainfo/org.velquarn.velquarn.metainfo.xml" ||
  fail "the AppStream metadata has no release $version"
desktop=$root/usr/share/applications/org.velquarn.velquarn.desktop
grep -qx 'Name=会计从业资格考试' "$desktop" || fail "the menu entry is not named 会计从业资格考试"
grep -qx 'Actions=author;' "$desktop" || fail "the menu entry has no author action"
sed -n '/^\[Desktop Action author\]/,$p' "$desktop" | grep -qx 'Exec=tarnex --author' ||
  fail "the author action does not run tarnex --author"

# From here on nothing may change the unpacked files.
chmod -R a-w "$root"
manifest() {
  (cd "$root" && find . -printf '%y %m %s %T@ %p %l\n' | sort && find . -type f -exec sha256sum {} + | sort -k2)
}
manifest >"$tmp/manifest.before"

printed=$("$root/usr/bin/tarnex" --version)
[ "$printed" = "tarnex $version" ] || fail "tarnex --version printed '$printed'"
"$root/usr/bin/tarnex-bank" list "$lib" >"$tmp/list.log" 2>&1 || show_and_fail "$tmp/list.log" "tarnex-bank list failed"
grep -q '会计基础' "$tmp/list.log" || show_and_fail "$tmp/list.log" "tarnex-bank list shows no subject"

# A user of the computer: a home of their own with a desktop, the defaults of XDG.
home=$tmp/home
mkdir -p "$home/Desktop"
as_user() {
  env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_DATA_DIRS HOME="$home" QT_QPA_PLATFORM=offscreen "$@"
}
user=$home/.local/share/velquarn

as_user timeout 240 env LD_PRELOAD="$driver" "$root/usr/bin/tarnex" >"$tmp/run1.log" 2>&1 ||
  show_and_fail "$tmp/run1.log" "the installed program did not sit a paper"
grep -q 'exam driver: answered' "$tmp/run1.log" || show_and_fail "$tmp/run1.log" "no answer was given"
cat "$tmp/run1.log"
for name in kstk.dat titao.dat kjkm.dat ci.ini zhangtao; do
  if [ -e "$lib/$name" ] && [ ! -e "$user/$name" ]; then
    fail "the user's program folder lacks $name"
  fi
done
cmp -s "$lib/kjkm.dat" "$user/kjkm.dat" || fail "kjkm.dat in the user's folder is not the delivered one"
grep -qF "$lib/tarnex" "$home/Desktop/Velquarn.desktop" ||
  show_and_fail "$home/Desktop/Velquarn.desktop" "the desktop shortcut does not start the installed tarnex"

# The answer is in the user's bank: read back by the unpacked tarnex-bank through --user.
as_user "$root/usr/bin/tarnex-bank" export --user "$tmp/export1" >"$tmp/export1.log" 2>&1 ||
  show_and_fail "$tmp/export1.log" "tarnex-bank export --user failed"
grep -rqE '^xuan: [a-d]+$' "$tmp/export1" || fail "no answer in the user's bank"

# A second start finds the user's folder and keeps what it holds.
as_user timeout 240 env LD_PRELOAD="$driver" TARNEX_EXAM_DRIVER=start "$root/usr/bin/tarnex" >"$tmp/run2.log" 2>&1 ||
  show_and_fail "$tmp/run2.log" "the installed program did not start a second time"
# The same delivered bank has nothing to add.
as_user "$root/usr/bin/tarnex-bank" merge --user >"$tmp/merge.log" 2>&1 || show_and_fail "$tmp/merge.log" "merge --user failed"
grep -q 'already holds every paper' "$tmp/merge.log" || show_and_fail "$tmp/merge.log" "merge --user added papers"
as_user "$root/usr/bin/tarnex-bank" export --user "$tmp/export2" >/dev/null 2>&1 || fail "the second export failed"
diff -r "$tmp/export1" "$tmp/export2" >/dev/null || fail "the user's bank changed on the second start or the merge"

manifest >"$tmp/manifest.after"
diff "$tmp/manifest.before" "$tmp/manifest.after" || fail "the unpacked files changed"

# The judges of packages, where they are installed.
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$tmp/lintian.log" 2>&1 || show_and_fail "$tmp/lintian.log" "lintian found errors"
  echo "lintian: $(grep -c '^[EW]:' "$tmp/lintian.log" || true) errors and warnings"
  cat "$tmp/lintian.log"
else
  echo "lintian is not installed: not run"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/org.velquarn.velquarn.metainfo.xml" ||
    fail "appstreamcli rejects the metadata"
else
  echo "appstreamcli is not installed: not run"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
fi
echo "the installed package works"
