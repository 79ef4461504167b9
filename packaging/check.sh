#!/usr/bin/env bash
# usage (from anywhere): packaging/check.sh [REFERENCE]
# Makes every package with the dist preset and checks them as a packager and a user would; any
# failure fails it. REFERENCE is the program whose output the packaged ones must write, by default
# build/dev/phonebook (cmake --workflow --preset dev). Needs Debian's dpkg-dev, lintian, rpm,
# rpmlint, rpm2cpio, cpio, unzip, python3-pexpect, g++-mingw-w64-x86-64-posix, wine and wine64.
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
lintian --allow-root --display-info --fail-on error,warning "$dist"/phonebook_*.deb
rpmlint --strict -c packaging/rpmlint.toml "$dist"/phonebook-*.rpm

step "The .deb needs Debian's libedit2; the RPM, whose program holds libedit, what RPM systems have"
dpkg-deb -f "$dist"/phonebook_*.deb Depends | grep -q 'libedit2 '
# The C and C++ runtimes and rpm's own entries, nothing else.
requires=$(rpm -qpR "$dist"/phonebook-*.rpm)
so='(lib(c|m|stdc\+\+)\.so\.6|libgcc_s\.so\.1)\([A-Z_0-9.]*\)'
grep -v -E "^($so)\(64bit\)$|^rpmlib\(|^rtld\(GNU_HASH\)$" <<<"$requires" && exit 1

step "The RPM: the .deb's files, Debian's copyright files of what its program holds; the program"
mkdir "$scratch/deb" "$scratch/rpm"
dpkg-deb -x "$dist"/phonebook_*.deb "$scratch/deb"
rpm2cpio "$dist"/phonebook-*.rpm | (cd "$scratch/rpm" && cpio -idm --quiet)
doc=/usr/share/doc/phonebook
licences=$(echo $doc/{,libbsd0/,libedit2/,libmd0/,libtinfo6/}copyright)
[[ $(rpm -qpL "$dist"/phonebook-*.rpm | xargs) == "$licences" ]]
cat /usr/share/doc/lib{bsd0,edit2,md0,tinfo6}/copyright | cmp - <(cat "$scratch/rpm$doc"/lib*/copyright)
# Byte for byte but for the programs; the RPM's, which holds libedit, writes what REFERENCE writes.
rm -r "$scratch/rpm$doc"/lib*/ "$scratch/deb/usr/bin/phonebook"
mv "$scratch/rpm/usr/bin/phonebook" "$scratch/phonebook"
diff -r "$scratch/deb" "$scratch/rpm"
for input in "$session" "$scratch/exit.txt"; do
  "$reference" <"$input" >"$scratch/linux.out"
  "$scratch/phonebook" <"$input" | cmp "$scratch/linux.out" -
done
# Left and Backspace take the x out of "Ann Lxe"; without line editing they would be in the name.
/usr/bin/python3 - "$scratch/phonebook" <<'EOF'
import sys, pexpect
program = pexpect.spawn(sys.argv[1], env={"TERM": "xterm"}, timeout=10)
for prompt, line in zip([">", ">", "Name: ", "number: ", ">", "1. Ann Lee_010-1234-5678\r\n"],
                        ["1", "1", "Ann Lxe\x1b[D\x7fe", "010-1234-5678", "3", "exit"]):
    program.expect_exact(prompt)
    program.send(line + "\r")
program.expect_exact(pexpect.EOF)
sys.exit(program.wait() != 0)
EOF

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
# The same sums: the same bytes.
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
