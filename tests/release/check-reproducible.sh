#!/usr/bin/env bash
# Builds the release package twice, one build after the other in two temporary folders with
# different absolute paths, and compares both programs and the zip byte for byte.
# Usage: check-reproducible.sh SOURCE_DIR
set -euo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The package takes its times from the last commit, the same for both builds. Some tools also
# take their time stamps from SOURCE_DATE_EPOCH: without it, a time stamp would show here.
unset SOURCE_DATE_EPOCH

builds=("$work/a" "$work/second-build/regval-source")
for dir in "${builds[@]}"; do
  mkdir -p "$dir"
  # The work tree as it stands, without its builds.
  tar -C "$source" --exclude=./build -cf - . | tar -C "$dir" -xf -
  if ! (cd "$dir" && bash scripts/package.sh --untested >"$dir.log" 2>&1); then
    cat "$dir.log" >&2
    echo "FAIL: the package did not build in $dir" >&2
    exit 1
  fi
done

failed=0
for file in build/windows/regval.exe build/windows64/regval64.exe \
            "build/release/$(basename "${builds[0]}"/build/release/*.zip)"; do
  if difference=$(cmp "${builds[0]}/$file" "${builds[1]}/$file" 2>&1); then
    echo "identical: $file"
  else
    # cmp counts bytes from 1.
    byte=$(sed -n 's/.* differ: byte \([0-9]*\),.*/\1/p' <<<"$difference")
    if [ -n "$byte" ]; then
      echo "FAIL: $file differs first at offset $((byte - 1))" >&2
    else
      echo "FAIL: $file: $difference" >&2
    fi
    failed=1
  fi
done
exit "$failed"
