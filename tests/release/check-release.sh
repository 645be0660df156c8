#!/usr/bin/env bash
# One release check of a built program, read off with the MinGW-w64 binutils of its architecture.
# Usage: check-release.sh CHECK PROGRAM.exe ARCH VERSION    (ARCH: i686 or x86_64)
set -euo pipefail
check=$1
exe=$2
arch=$3
version=$4
case $arch in
  i686) format=pei-i386 magic='010b\s+\(PE32\)' subsystem_version=(4 0) ;;
  x86_64) format=pei-x86-64 magic='020b\s+\(PE32\+\)' subsystem_version=(5 2) ;;
  *) echo "unknown architecture $arch" >&2; exit 2 ;;
esac
objdump=$arch-w64-mingw32-objdump
windres=$arch-w64-mingw32-windres
max_bytes=$((24 * 1024))

fail() { echo "FAIL: $*" >&2; exit 1; }

headers=$($objdump -p "$exe")
# Imported names, "DLL function" a line, from the import tables.
imports() {
  awk '/^The Import Tables/ {on=1} /^The Export Tables|^PE File Base Relocations/ {on=0}
       on && /DLL Name:/ {dll=tolower($3)}
       on && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ {print dll, $3}' <<<"$headers"
}

case $check in
  format)
    grep -q "file format $format\$" <<<"$headers" || fail "not a $format image"
    grep -qE "^Magic\s+$magic" <<<"$headers" || fail "not the PE format of $arch"
    ;;
  subsystem)
    grep -qE '^Subsystem\s+00000002\s+\(Windows GUI\)' <<<"$headers" || fail "not the GUI subsystem"
    grep -qE "^MajorSubsystemVersion\s+${subsystem_version[0]}\$" <<<"$headers" ||
      fail "subsystem major version is not ${subsystem_version[0]}"
    grep -qE "^MinorSubsystemVersion\s+${subsystem_version[1]}\$" <<<"$headers" ||
      fail "subsystem minor version is not ${subsystem_version[1]}"
    ;;
  imports)
    dlls=$(grep 'DLL Name:' <<<"$headers" | awk '{print tolower($3)}' | sort -u)
    echo "imports: $(tr '\n' ' ' <<<"$dlls")"
    # The window system is loaded only on the fallback path, never at start-up.
    extra=$(grep -vxE 'kernel32\.dll|advapi32\.dll|msvcrt\.dll' <<<"$dlls" || true)
    [ -z "$extra" ] || fail "imports beyond kernel32, advapi32 and msvcrt: $extra"
    [ -n "$(imports)" ] || fail "no imported function found: the import table was not read"
    ;;
  ansi)
    wide=$(imports | awk '$2 ~ /W$/' || true)
    [ -z "$wide" ] || fail "wide-character functions imported: $wide"
    ;;
  resources)
    resources=$($windres -i "$exe" -O rc)
    [ "$(grep -c '^/\* Type:' <<<"$resources")" -eq 2 ] ||
      fail "not exactly two resources, the manifest and the version information"
    grep -q '^1 24 /\* RT_MANIFEST \*/' <<<"$resources" || fail "no manifest 1"
    grep -q 'requestedExecutionLevel level=""asInvoker""' <<<"$resources" ||
      fail "the manifest does not request asInvoker"
    grep -q '^1 VERSIONINFO' <<<"$resources" || fail "no version information 1"
    IFS=. read -r major minor patch <<<"$version"
    grep -qx " FILEVERSION $major, $minor, $patch, 0" <<<"$resources" ||
      fail "FILEVERSION is not $version"
    grep -qx " PRODUCTVERSION $major, $minor, $patch, 0" <<<"$resources" ||
      fail "PRODUCTVERSION is not $version"
    name=$(basename "$exe")
    for value in "FileVersion\", \"$version" "ProductVersion\", \"$version" \
                 "OriginalFilename\", \"$name" "ProductName\", \"regval" \
                 "LegalCopyright\", \"Copyright (c) 2026 the regval authors"; do
      grep -qF "VALUE \"$value\"" <<<"$resources" || fail "no version string $value"
    done
    grep -q 'VALUE "FileDescription", "..*"' <<<"$resources" || fail "no file description"
    echo "version information: $version, $name"
    ;;
  size)
    grep -q 'no symbols' <<<"$($objdump -t "$exe")" || fail "not stripped"
    bytes=$(stat -c %s "$exe")
    echo "stripped size: $bytes bytes ($(((bytes + 1023) / 1024)) KiB)"
    [ "$bytes" -le "$max_bytes" ] || fail "larger than $max_bytes bytes"
    ;;
  *)
    fail "unknown check $check"
    ;;
esac
echo "ok: $check"
