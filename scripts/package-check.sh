#!/usr/bin/env bash
# package-check.sh BUILD: checks the Debian package that `make package` built, as a user's
# machine would take it: lintian, the desktop entry and the AppStream metadata validated; the
# package installed with apt-get, both programs run from /usr/bin, the manual pages and the
# completion found where Debian looks for them; then the package removed again. Needs root.
set -euo pipefail
build=${1:-build}
debs=("$build"/slope-support_*.deb)
[ -f "${debs[0]}" ] || { echo "package-check: no package in $build; run make package" >&2; exit 1; }
deb=$(realpath "${debs[-1]}")
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
failed=0
fail() { echo "package-check: $*" >&2; failed=1; }

echo "package-check: $deb"
# lintian: no error; the warnings accepted are listed in docs/building.md
lintian --fail-on error "$deb" || fail "lintian reports errors"

contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml ||
    fail "appstreamcli validate"

"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall "$deb" >/dev/null
removed=0
remove() {
    [ $removed -eq 1 ] && return
    removed=1
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq slope-support >/dev/null
}
trap 'remove; rm -rf "$contents"' EXIT

cd "$contents" # nothing of the source tree in reach
[ "$(command -v slopecalc)" = /usr/bin/slopecalc ] || fail "slopecalc is not /usr/bin/slopecalc"
[ "$(/usr/bin/slopecalc earth-pressure)" = $'Ka=0.344444462206344\nEa=77.5000039964273\nEa_compressed=77.5000039964273' ] ||
    fail "slopecalc earth-pressure does not give the worked example"
[ "$(/usr/bin/slopecalc --version)" = "slopecalc $(dpkg-deb -f "$deb" Version)" ] ||
    fail "slopecalc --version"
errors=$(QT_QPA_PLATFORM=offscreen SLOPE_EXIT_AFTER_FIRST_FRAME=1 timeout 60 /usr/bin/slope-support 2>&1) ||
    fail "slope-support did not reach its first frame: $errors"
[[ $errors != *missing* ]] || fail "slope-support does not find its pictures: $errors"
for picture in 11 22; do
    [ -f /usr/share/slope-support/pictures/$picture.bmp ] || fail "no picture $picture.bmp"
done
for page in slopecalc slope-support; do
    man -w "$page" >/dev/null 2>&1 || fail "man $page: no manual entry"
done
[ -f /usr/share/bash-completion/completions/slopecalc ] || fail "no bash completion"
grep -q "锚杆计算" /usr/share/doc/slope-support/guide.html || fail "no user's guide"
# printing is a module loaded when first wanted; the program itself does not need Print Support
module=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/slope-support/libslopeprint.so
[ -f $module ] || fail "no print module $module"
! ldd $module | grep -q "not found" || fail "the print module misses a library: $(ldd $module)"
! readelf -d /usr/bin/slope-support | grep -q PrintSupport ||
    fail "slope-support itself needs Qt Print Support"
[ -f /usr/share/icons/hicolor/scalable/apps/slope-support.svg ] || fail "no scalable icon"

remove
if dpkg-query -W -f='${Status}' slope-support 2>/dev/null | grep -q 'ok installed'; then
    fail "the package is still installed"
fi
[ ! -e /usr/bin/slopecalc ] || fail "/usr/bin/slopecalc is left behind"
[ $failed -eq 0 ] && echo "package-check: all checks passed"
exit $failed
