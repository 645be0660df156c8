#!/usr/bin/env bash
# Makes the release package build/release/regval-VERSION-windows.zip: regval.exe, regval64.exe,
# USAGE.txt (the README's "Using it on Windows", with CR LF line ends), LICENSE and SHA256SUMS of
# the two programs; prints the zip's SHA-256. The programs are packed after the release checks and
# the system tests have run on these very files.
#   --untested   builds and packs only (the reproducibility test builds the package this way)
# The zip is reproducible: fixed order, permissions and times (SOURCE_DATE_EPOCH, by default the
# time of the last commit), no owner.
set -euo pipefail
cd "$(dirname "$0")/.."
tested=1
[ "${1:-}" = --untested ] && tested=0

bash scripts/install-deps.sh
if [ "$tested" = 1 ]; then
  # Release checks, the reproducibility test and the system tests, of the files packed below.
  cmake --workflow --preset windows64
  cmake --workflow --preset windows
  if ! why=$(bash scripts/wine.sh i686 2>&1); then
    echo "note: regval.exe passed its release checks, but not its system tests: $why" >&2
  fi
else
  for preset in windows windows64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target regval >/dev/null
  done
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows64/CMakeCache.txt)
[ -n "$version" ] || { echo "package: no project version in build/windows64" >&2; exit 1; }
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  # 1980-01-01, the earliest time a zip can hold, outside a git checkout.
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
fi

release=build/release
stage=$release/stage
rm -rf "$release"
mkdir -p "$stage"
cp build/windows/regval.exe build/windows64/regval64.exe LICENSE "$stage/"
{
  echo "regval $version: sets or reads one Windows registry value, driven by its command line."
  # The one source of the usage text: the README's section for Windows users, as plain text.
  sed -n '/^## Using it on Windows$/,/^## /{/^## /!p}' README.md | sed -e 's/`//g' -e 's/\*\*//g'
} | sed 's/$/\r/' >"$stage/USAGE.txt"
grep -q 'Exit codes' "$stage/USAGE.txt" || { echo "package: usage text not found" >&2; exit 1; }
(cd "$stage" && sha256sum regval.exe regval64.exe >SHA256SUMS)

files=(regval.exe regval64.exe USAGE.txt LICENSE SHA256SUMS)
zip=regval-$version-windows.zip
(
  cd "$stage"
  chmod 0644 "${files[@]}"
  touch -d "@$SOURCE_DATE_EPOCH" "${files[@]}"
  # -X: no owner or extra times; TZ: zip keeps local times.
  TZ=UTC zip -X -D -q -9 "../$zip" "${files[@]}"
)
echo "$release/$zip"
sha256sum "$release/$zip"
