#!/usr/bin/env bash
# Smoke test of the installed program: builds the Debian package, installs it, checks
# the installed files, starts the desktop launcher as an ordinary user in a virtual X
# display, then removes the package. Run as root on Debian 12. Prints one line when
# everything passes; details and a non-zero exit status otherwise.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
[ "$(id -u)" -eq 0 ] || { echo "package-smoke: must run as root (apt-get install)" >&2; exit 2; }
export DEBIAN_FRONTEND=noninteractive

passed=0
failed=0
log=$(mktemp -d /tmp/devimax-smoke.XXXXXX)
installed=
cleanup() {
    [ -n "$installed" ] && apt-get remove -y -qq devimax > "$log/remove.log" 2>&1
    rm -rf "$log"
}
trap cleanup EXIT
die() { echo "package-smoke: $*" >&2; exit 1; }
# check DESCRIPTION COMMAND...: runs the command, counts it, shows its output on failure.
check() {
    local what=$1; shift
    if "$@" > "$log/check.out" 2>&1; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $what" >&2
        sed 's/^/    /' "$log/check.out" >&2
    fi
}

# The build tools and the tools of the checks, installed when missing.
needed=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins dpkg-dev appstream
        desktop-file-utils xvfb xauth)
missing=()
for p in "${needed[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}"; } \
        > "$log/deps.log" 2>&1 || { cat "$log/deps.log" >&2; die "cannot install ${missing[*]}"; }
fi

deb=$(bash scripts/package.sh) || die "scripts/package.sh failed"
[ -f "$deb" ] || die "no package at '$deb'"
apt-get install -y -qq "$deb" > "$log/install.log" 2>&1 || { cat "$log/install.log" >&2; die "apt-get install failed"; }
installed=yes

# --- the installed files
share=/usr/share
default_mdb=$share/devimax/buro.mdb
for f in /usr/bin/devimax /usr/bin/devimax-mdb /usr/bin/devimax-launcher; do
    check "$f is an executable" test -x "$f"
done
check "the desktop file is valid" desktop-file-validate "$share/applications/devimax.desktop"
check "the desktop file starts the launcher" \
    grep -qx 'Exec=devimax-launcher' "$share/applications/devimax.desktop"
check "the metainfo is valid" appstreamcli validate --no-net "$share/metainfo/org.example.devimax.metainfo.xml"
png_size() { # width and height from the IHDR chunk
    od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8 }'
}
for size in 16 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x${size}/apps/devimax.png
    check "$icon is a ${size}x${size} PNG" test "$(png_size "$icon" 2> /dev/null)" = "${size}x${size}"
done
check "the scalable icon is an SVG" grep -q '<svg' "$share/icons/hicolor/scalable/apps/devimax.svg"
check "the default buro.mdb holds the default rates" \
    grep -qxP 'row\t6\.55957\t1\.1\t1\.95583' <(devimax-mdb dump "$default_mdb")

# --- the installed program driven like a screen reader
check "the end-to-end tests pass on the installed program" \
    env DEVIMAX=/usr/bin/devimax DEVIMAX_MDB=/usr/bin/devimax-mdb \
    DEVIMAX_DEFAULT_RATES="$default_mdb" bash scripts/e2e.sh

# --- the launcher, as an ordinary user with an empty home
home=$(mktemp -d /tmp/devimax-home.XXXXXX)
chown nobody: "$home"
user_mdb=$home/.local/share/devimax/buro.mdb
as_user() { runuser -u nobody -- env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 "$@"; }
# Starts the launcher for two seconds; timeout's status 124 means the program was
# still running when it was stopped.
run_launcher() {
    local rc=0
    as_user xvfb-run -a timeout 2 devimax-launcher > "$log/run.log" 2>&1 || rc=$?
    [ "$rc" -eq 124 ] || { echo "exit status $rc, not still running"; cat "$log/run.log"; return 1; }
}
check "the first start runs until stopped" run_launcher
check "the first start copies the default rate file" cmp "$default_mdb" "$user_mdb"
check "the user's rate file belongs to the user" as_user test -O "$user_mdb" -a -w "$user_mdb"
check "devimax-mdb changes the user's rate" \
    as_user devimax-mdb set "$user_mdb" Parametres USD=1.3 --separator .
check "the second start runs until stopped" run_launcher
check "the second start keeps the user's rate" \
    grep -qxP 'row\t6\.55957\t1\.3\t1\.95583' <(devimax-mdb dump "$user_mdb")
rm -rf "$home"

# --- removal
check "apt-get remove" apt-get remove -y -qq devimax
installed=
check "the program is gone" test ! -e /usr/bin/devimax

echo "package-smoke: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
