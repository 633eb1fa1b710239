#!/usr/bin/env bash
# usage: test_script_options.sh <source folder> <scratch folder>
set -euo pipefail
source_dir=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch/bin"
journal=$scratch/journal
for tool in cmake ctest; do
  printf '#!/bin/sh\necho "%s $*" >> "%s"\n' "$tool" "$journal" > "$scratch/bin/$tool"
done
printf '#!/bin/sh\necho "install ok installed"\n' > "$scratch/bin/dpkg-query"
chmod +x "$scratch/bin/"*
# A copy of the scripts whose real-window stage, which needs a built program,
# does nothing.
mkdir -p "$scratch/tree"
cp -r "$source_dir/scripts" "$scratch/tree/"
ln -s "$source_dir/fuzz" "$scratch/tree/fuzz"
echo 'exit 0' > "$scratch/tree/scripts/window-test.sh"
PATH=$scratch/bin:$PATH bash "$scratch/tree/scripts/test.sh" > "$scratch/output" 2>&1

failed=0
configures=$(grep -c -- ' -B ' "$journal" || true)
runs=$(grep -c '^ctest' "$journal" || true)
if [ "$configures" -lt 4 ] || [ "$runs" -lt 4 ]; then
  echo "expected four stages, saw $configures configure steps and $runs test runs"
  failed=1
fi
while read -r line; do
  for option in CMAKE_BUILD_TYPE WORDRAIL_TESTS WORDRAIL_FUZZ WORDRAIL_BENCH WORDRAIL_SANITIZE; do
    if [[ " $line" != *" -D$option="* ]]; then
      echo "a stage leaves $option to the cache: $line"
      failed=1
    fi
  done
done < <(grep -- ' -B ' "$journal")
while read -r line; do
  if [[ "$line" != *"--no-tests=error"* ]]; then
    echo "a test run passes without tests: $line"
    failed=1
  fi
done < <(grep '^ctest' "$journal")
exit $failed
