#!/usr/bin/env bash
# The install tree and the Debian package of a build folder, tried in a scratch folder:
#   - `cmake --install --prefix` into it: the installed orbelle-render draws the whole map from
#     the installed outline files (every one of mapdata/'s is installed as it is); a private
#     session bus whose only service folder is the installed one starts the installed map, which
#     answers CreateDetached and draws from its installed data without a message; foxhost loads
#     the installed extension libraries; the menu entry is valid and the programs it, the bus
#     service and the user unit name are installed; every program has a manual page that names
#     every option its --help lists;
#   - the Debian package: the same files, files that name /usr programs it holds, and the
#     dependencies found by dpkg-shlibdeps.
#
#   install_test.sh BUILD_DIR SOURCE_DIR SCRATCH_DIR
set -euo pipefail

build=$1
source=$2
scratch=$3
rm -rf "$scratch"
mkdir -p "$scratch"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The absolute paths that the Exec= and ExecStart= lines of a file name.
named_programs() {
  sed -n 's/^Exec\(Start\)\{0,1\}=//p' "$1" | tr ' ' '\n' | grep '^/' || true
}

# ---- the install tree ----
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"
share=$prefix/share

for file in "$source"/mapdata/*.pnt "$source"/mapdata/*.velapnt "$source"/mapdata/COPYING*; do
  cmp -s "$file" "$share/orbelle/mapdata/${file##*/}" ||
    fail "mapdata/${file##*/} is not installed as it is"
done
# Exit status 0 only when every outline file, rivers included, was read.
"$prefix/bin/orbelle-render" --rivers --size 200 "$scratch/map.png" >"$scratch/render.log" 2>&1 ||
  fail "the installed orbelle-render did not draw from the installed data: $(cat "$scratch/render.log")"

service=$share/dbus-1/services/Orbelle.server.service
grep -qx 'Name=Orbelle.server' "$service" || fail "$service does not name Orbelle.server"
for file in "$service" "$share/applications/orbelle.desktop" \
  "$prefix/lib/systemd/user/orbelle-station.service"; do
  programs=$(named_programs "$file")
  [ -n "$programs" ] || fail "${file##*/} names no program"
  for program in $programs; do
    case "$program" in
      "$prefix"/*) [ -x "$program" ] || fail "${file##*/} names $program, which is not installed" ;;
      *) fail "${file##*/} names $program, outside the install prefix" ;;
    esac
  done
done
desktop-file-validate "$share/applications/orbelle.desktop" || fail "the menu entry is not valid"
[ -f "$share/icons/hicolor/scalable/apps/orbelle.svg" ] || fail "the menu entry's icon is missing"

for program in "$prefix"/bin/*; do
  name=${program##*/}
  page=$share/man/man1/$name.1.gz
  if [ ! -f "$page" ]; then
    fail "$name has no manual page"
    continue
  fi
  [ "$name" = orbelle ] && continue # no --help: it only takes EXE=T
  text=$(gzip -dc "$page" | sed 's/\\-/-/g')
  for option in $("$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    grep -qF -- "$option" <<<"$text" || fail "the manual page of $name lacks $option"
  done
done

libraries=$(dirname "$(find "$prefix/lib" -name velalib.so)")
tag=$("$prefix/bin/foxhost" --library "$libraries/velalib.so" \
  --library "$libraries/morse.so" -e '? MAKE_TAG("CALL", "W1XYZ")' 2>&1) ||
  fail "foxhost cannot load the installed libraries: $tag"
[ "$tag" = "CALLW1XYZ|" ] || fail "foxhost with the installed velalib printed \"$tag\""

cat >"$scratch/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$share/dbus-1/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
# The bus passes its environment on to the map it starts: no display, a data folder of its own,
# and message boxes written to a file (a missing outline file would show one).
replies=$(QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$scratch/data" \
  ORBELLE_MESSAGE_LOG="$scratch/messages.log" \
  dbus-run-session --config-file="$scratch/bus.conf" -- sh -c '
    call() { gdbus call --session --dest Orbelle.server "$@"; }
    call --timeout 120 --object-path / --method Orbelle.Factory.CreateDetached &&
      call --timeout 300 --object-path /server/1 --method Orbelle._server.Draw &&
      call --timeout 60 --object-path /server/1 --method Orbelle._server.Release' \
  2>"$scratch/bus.log") || true
expected="(objectpath '/server/1',)
()
()"
[ "$replies" = "$expected" ] ||
  fail "the bus-started map answered: $replies; the bus said: $(cat "$scratch/bus.log")"
[ ! -s "$scratch/messages.log" ] || fail "the bus-started map said: $(cat "$scratch/messages.log")"

# ---- the Debian package ----
cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 || {
  cat "$scratch/cpack.log" >&2
  exit 1
}
deb=$(echo "$scratch"/package/*.deb)
root=$scratch/root
dpkg-deb -x "$deb" "$root"
diff <(cd "$prefix" && find . -type f | sort) <(cd "$root/usr" && find . -type f | sort) ||
  fail "the package does not hold the files of the install tree"
for file in "$root/usr/share/dbus-1/services/Orbelle.server.service" \
  "$root/usr/share/applications/orbelle.desktop" "$root/usr/lib/systemd/user/orbelle-station.service"; do
  for program in $(named_programs "$file"); do
    case "$program" in
      /usr/*) [ -x "$root$program" ] || fail "${file##*/} in the package names $program, not in it" ;;
      *) fail "${file##*/} in the package names $program, outside /usr" ;;
    esac
  done
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6dbus6 libqt6network6 libstdc++6 dbus-session-bus; do
  [[ $depends == *"$package"* ]] || fail "the package's Depends lacks $package: $depends"
done

[ "$failures" -eq 0 ] || exit 1
echo "install tree and package: all checks passed ($(du -k "$deb" | cut -f1) KiB package)"
