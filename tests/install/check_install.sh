#!/usr/bin/env bash
# Installs the build into a staging folder and checks what lands there, runs
# the installed programs, validates the menu entry, and builds the .deb and
# checks its contents and dependencies.
# usage: check_install.sh BUILD-FOLDER SOURCE-FOLDER
set -euo pipefail
build=$1
source=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >/dev/null
root="$stage/root"
for f in usr/bin/quillon usr/bin/quillon-cli usr/libexec/quillon/make_sample_folder; do
  [ -x "$root/$f" ] || fail "$f is not installed as a program"
done
for f in usr/share/quillon/LESSONS.DAT usr/share/applications/quillon.desktop \
         usr/share/icons/hicolor/scalable/apps/quillon.svg usr/share/man/man1/quillon.1.gz \
         usr/share/man/man1/quillon-cli.1.gz usr/share/doc/quillon/copyright; do
  [ -f "$root/$f" ] || fail "$f is not installed"
done
grep -q "^License: GPL-3.0-or-later$" "$root/usr/share/doc/quillon/copyright" ||
  fail "the copyright file does not name GPL-3.0-or-later"
grep -q "GNU GENERAL PUBLIC LICENSE" "$root/usr/share/doc/quillon/copyright" ||
  fail "the copyright file lacks the licence text"
cmp -s "$root/usr/share/quillon/LESSONS.DAT" "$source/samples/LESSONS.DAT" ||
  fail "the installed LESSONS.DAT differs from samples/LESSONS.DAT"

# The installed programs run from where they are installed.
# (No pipes into grep -q or head: under pipefail the writer's SIGPIPE would
# fail the check at random.)
help=$("$root/usr/bin/quillon-cli" --help)
usage=${help%%$'\n'*}
[ "$usage" = "usage: quillon-cli [--folder DIR] COMMAND [OPTIONS]" ] || fail "quillon-cli --help: $usage"
help=$("$root/usr/bin/quillon" --help)
grep -qx "usage: quillon \[PROGRAM-FOLDER\]" <<<"$help" || fail "quillon --help: $help"
"$root/usr/libexec/quillon/make_sample_folder" --seed 1 "$stage/sample" >/dev/null ||
  fail "the installed make_sample_folder does not find the installed catalogue"
cmp -s "$stage/sample/LESSONS.DAT" "$source/samples/LESSONS.DAT" || fail "sample catalogue"
"$root/usr/bin/quillon-cli" --folder "$stage/sample" classes >/dev/null || fail "quillon-cli classes"

desktop-file-validate "$root/usr/share/applications/quillon.desktop" ||
  fail "desktop-file-validate"
grep -qx "Exec=quillon %f" "$root/usr/share/applications/quillon.desktop" || fail "Exec line"

# The package: named by version and architecture, its dependencies found by
# dpkg-shlibdeps, its files under /usr.
(cd "$build" && cpack -G DEB -B "$stage/deb" >/dev/null)
debs=("$stage"/deb/quillon_*_*.deb)
[ -f "${debs[0]}" ] || fail "cpack made no quillon_<version>_<arch>.deb"
deb=${debs[0]}
info=$(dpkg-deb -I "$deb")
depends=$(printf '%s\n' "$info" | sed -n 's/^ Depends: //p')
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6; do
  grep -q "^ *$lib\b" <<<"${depends//,/$'\n'}" || fail "Depends lacks $lib: $depends"
done
grep -q "^ Section: education" <<<"$info" || fail "Section"
grep -q "classes and rosters, students'" <<<"$info" || fail "Description: $info"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/quillon ./usr/bin/quillon-cli ./usr/libexec/quillon/make_sample_folder \
         ./usr/share/quillon/LESSONS.DAT ./usr/share/applications/quillon.desktop \
         ./usr/share/icons/hicolor/scalable/apps/quillon.svg ./usr/share/man/man1/quillon.1.gz \
         ./usr/share/man/man1/quillon-cli.1.gz ./usr/share/doc/quillon/copyright; do
  grep -qx "$f" <<<"$contents" || fail "the package lacks $f"
done
outside=$(grep -v -e '^\./usr/' -e '^\./$' <<<"$contents" || true)
if [ -n "$outside" ]; then
  fail "the package holds files outside /usr"
fi
echo "installed files, programs, menu entry and package: all as expected"
