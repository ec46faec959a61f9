#!/usr/bin/env bash
# Builds the two Debian packages from a finished build folder and checks them:
#   check_packages.sh BUILD_DIR SOURCE_DIR
# lintian reports no error, dpkg-deb --contents lists what the packages must hold, the desktop
# entry and the AppStream metadata validate. Exit 77 (skipped) when a tool is missing.
set -euo pipefail
build=$1
source=$2
for tool in cpack dpkg-deb lintian desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
faults=0
fail() { echo "FAULT: $*"; faults=$((faults + 1)); }

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || {
    cat "$out/cpack.log"
    echo "FAULT: cpack failed"
    exit 1
}
program=$(ls "$out"/pondrel_*.deb)
server=$(ls "$out"/pondrel-server_*.deb)

# The paths of a package (the sixth field on, so that names with blanks stay whole).
contents() { dpkg-deb --contents "$1" | sed -E 's/^([^ ]+ +){5}//; s|^\./|/|; s|/$||'; }
expect() {
    local deb=$1
    shift
    local listing
    listing=$(contents "$deb")
    for path in "$@"; do
        grep -qxF "$path" <<<"$listing" || fail "$(basename "$deb") lacks $path"
    done
}
expect "$program" /usr/bin/pondrel /usr/bin/pondrel-tool \
    /usr/share/pondrel/factory/Labels.txt /usr/share/pondrel/factory/PondrelHelp.htm \
    /usr/share/pondrel/factory/Preferences.pre "/usr/share/pondrel/factory/Initial position.wnd" \
    /usr/share/pondrel/pondrel-start \
    /usr/share/applications/org.pondrel.Pondrel.desktop \
    /usr/share/icons/hicolor/scalable/apps/org.pondrel.Pondrel.svg \
    /usr/share/metainfo/org.pondrel.Pondrel.metainfo.xml \
    /usr/share/man/man1/pondrel.1.gz /usr/share/man/man1/pondrel-tool.1.gz \
    /usr/share/doc/pondrel/copyright
expect "$server" /usr/bin/pondrel-server /lib/systemd/system/pondrel-server.service \
    "/lib/systemd/system/pondrel-server@.service" \
    /usr/share/man/man1/pondrel-server.1.gz /usr/share/doc/pondrel-server/copyright
grep -q "/factory/src\|/factory/README.md" <<<"$(contents "$program")" &&
    fail "the factory folder holds its sources or README"
grep -q "/usr/bin/pondrel$\|pondrel-tool" <<<"$(contents "$server")" && fail "the server package holds the program"

# Listings are taken whole before grep -q searches them: grep stops at its first match, and
# under pipefail the writer's broken pipe would fail the check.
# The package's metadata: Debian library dependencies, the server's user and hardening.
grep -q "libqt6widgets6" <<<"$(dpkg-deb --field "$program" Depends)" || fail "pondrel does not depend on Qt"
grep -q "libsqlite3" <<<"$(dpkg-deb --field "$server" Depends)" || fail "pondrel-server does not depend on SQLite"
grep -q "libpq5" <<<"$(dpkg-deb --field "$server" Depends)" || fail "pondrel-server does not depend on libpq"
grep -q "adduser" <<<"$(dpkg-deb --field "$server" Depends)" || fail "pondrel-server does not depend on adduser"
grep -q "postinst" <<<"$(dpkg-deb --ctrl-tarfile "$server" | tar -tf -)" || fail "pondrel-server has no postinst"
unit=$(dpkg-deb --fsys-tarfile "$server" | tar -xOf - ./lib/systemd/system/pondrel-server.service)
for option in NoNewPrivileges=yes ProtectSystem=strict ProtectHome=yes PrivateTmp=yes \
    "ExecStart=/usr/bin/pondrel-server" User=pondrel StateDirectory=pondrel-server; do
    grep -q "^$option" <<<"$unit" || fail "the unit lacks $option"
done

# Installed, the tool finds the factory folder beside it: a new device folder gets the
# installation with the help.
dpkg-deb -x "$program" "$out/root"
"$out/root/usr/bin/pondrel-tool" init-device "$out/device" >/dev/null || fail "init-device of the package"
[ -s "$out/device/Program files/Pondrel/PondrelHelp.htm" ] || fail "no help in a device folder made by the package"
grep -q "qt6-qpa-plugins" <<<"$(dpkg-deb --field "$program" Depends)" || fail "pondrel does not depend on the Qt platform plugins"

desktop-file-validate "$source/packaging/org.pondrel.Pondrel.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$source/packaging/org.pondrel.Pondrel.metainfo.xml" ||
    fail "appstreamcli validate"

# lintian: errors fail, warnings are shown.
if ! lintian --fail-on error --tag-display-limit 0 "$program" "$server" >"$out/lintian.log" 2>&1; then
    fail "lintian found errors"
fi
cat "$out/lintian.log"
echo "packages: $(basename "$program") $(stat -c %s "$program") bytes, $(basename "$server") $(stat -c %s "$server") bytes"
[ "$faults" -eq 0 ]
