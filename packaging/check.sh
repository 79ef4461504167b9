#!/usr/bin/env bash
# usage (from anywhere): packaging/check.sh [REFERENCE]
# Makes every package with the dist preset and checks them as a packager and a user would; any
# failure fails it. REFERENCE is the program whose output the packaged ones must write, by default
# build/dev/phonebook (cmake --workflow --preset dev). Needs Debian's dpkg-dev, lintian, rpm,
# rpmlint, rpm2cpio, cpio, unzip, g++-mingw-w64-x86-64-posix, wine and wine64.
set -euo pipefail
cd "$(dirname "$0")/.."
reference=${1:-build/dev/phonebook}
export WINEDEBUG=-all
step() { printf '\n== %s\n' "$*"; }
# Wine makes its prefix (~/.wine) on its first run, with much noise: quietly, beforehand.
if [[ ! -d ${WINEPREFIX:-$HOME/.wine} ]]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
session=tests/sessions/every_kind.txt
# The session ends in the middle of adding a contact; this one finishes it and says "exit".
{ cat "$session"; printf '010-1111-2222\nexit\n'; } >"$scratch/exit.txt"

step "Every package (the dist preset), SHA256SUMS, lintian and rpmlint"
cmake --workflow --preset dist
dist=build/dist
(cd "$dist" && sha256sum phonebook-*.rpm phonebook-*[0-9].tar.gz phonebook-*-win64.zip phonebook_*.deb |
  LC_ALL=C sort -k 2 | cmp - SHA256SUMS)
# Every tag found is printed, the informational ones too; CI runs as root.
lintian --allow-root --display-info --fail-on error,warning "$dist"/phonebook_*.deb
rpmlint --strict -c packaging/rpmlint.toml "$dist"/phonebook-*.rpm
[[ $(rpm -qpL "$dist"/phonebook-*.rpm) == /usr/share/doc/phonebook/copyright ]]

step "The RPM holds the .deb's files, byte for byte; its program writes what $reference writes"
mkdir "$scratch/deb" "$scratch/rpm"
dpkg-deb -x "$dist"/phonebook_*.deb "$scratch/deb"
rpm2cpio "$dist"/phonebook-*.rpm | (cd "$scratch/rpm" && cpio -idm --quiet)
diff -r "$scratch/deb" "$scratch/rpm"
for input in "$session" "$scratch/exit.txt"; do
  "$reference" <"$input" >"$scratch/linux.out"
  "$scratch/rpm/usr/bin/phonebook" <"$input" | cmp "$scratch/linux.out" -
done

step "The Windows zip: phonebook.exe, README.md and LICENSE (CR LF); its output under Wine"
zip=$(echo "$dist"/phonebook-*-win64.zip)
[[ $(zipinfo -1 "$zip" | LC_ALL=C sort | tr '\n' ' ') == 'LICENSE README.md phonebook.exe ' ]]
unzip -q "$zip" -d "$scratch/zip"
cat packaging/windows-readme.md README.md | perl -pe 's/\n/\r\n/' | cmp - "$scratch/zip/README.md"
perl -pe 's/\n/\r\n/' LICENSE | cmp - "$scratch/zip/LICENSE"
for input in "$session" "$scratch/exit.txt"; do
  "$reference" <"$input" | perl -pe 's/\n/\r\n/g' >"$scratch/linux.out"
  wine "$scratch/zip/phonebook.exe" <"$input" | cmp "$scratch/linux.out" -
done

step "The source release, unpacked and built: the same three packages, byte for byte"
# The tarball is the last commit: a working tree with changes not committed gives other packages.
mkdir "$scratch/release"
tar -xzf "$dist"/phonebook-*[0-9].tar.gz -C "$scratch/release" --strip-components=1
(cd "$scratch/release" && [[ ! -e .git ]] && cmake --workflow --preset dist >/dev/null)
for package in phonebook_*.deb phonebook-*.x86_64.rpm phonebook-*-win64.zip; do
  cmp "$dist"/$package "$scratch"/release/build/dist/$package
done
grep -v '\.tar\.gz$' "$dist/SHA256SUMS" | cmp - "$scratch/release/build/dist/SHA256SUMS"

step "A packager's flags (Debian's, and -fno-omit-frame-pointer) on every compile and link line"
# _FORTIFY_SOURCE is in Debian's CPPFLAGS, so the build must not define it again; the hardening
# flags come first, the packager's after them and unchanged; no warning, and none an error.
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cxxflags="$(dpkg-buildflags --get CXXFLAGS) -fno-omit-frame-pointer"
ldflags=$(dpkg-buildflags --get LDFLAGS)
CPPFLAGS=$cppflags CXXFLAGS=$cxxflags LDFLAGS=$ldflags cmake --preset release -B "$scratch/flags" >/dev/null
cmake --build "$scratch/flags" --verbose >"$scratch/flags.log" 2>&1
grep -E -- ' -c |-o phonebook ' "$scratch/flags.log" >"$scratch/lines"
compiles=$(grep -c -- ' -c ' "$scratch/lines")
kept=$(grep -F -- "-fstack-protector-strong $cppflags $cxxflags" "$scratch/lines" |
  grep -v -E -- '_FORTIFY_SOURCE.*_FORTIFY_SOURCE|-Werror( |$)' | grep -c -- ' -c ')
grep -F -- "-Wl,-z,relro -Wl,-z,now $ldflags" "$scratch/lines" | grep -q -- '-o phonebook '
((compiles > 0 && kept == compiles))
if grep -E 'warning:' "$scratch/flags.log"; then exit 1; fi
echo "every package checked; the packager's flags on all $compiles compile lines and the link line"
