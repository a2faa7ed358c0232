#!/usr/bin/env bash
# The Windows test kit as a developer uses it on a Windows PC, here under Wine: unpacks the
# zip that scripts/package made (package_tests makes it) into a new folder and runs
# run-tests.cmd on a few quick tests. Under Wine the ADO conformance test must skip, saying
# that the Jet provider is missing, and under English settings the Italian-only test must
# not run; everything else must pass.
# Usage: kit-test.sh   (with LC_ALL=C.UTF-8: Wine's user settings are then English, US)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
fail() { echo "FAILED: $*"; exit 1; }

version=$(sed -n 's/^project(TorvaneManutenzione VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
zip=$root/build/package/TorvaneManutenzione-$version-tests.zip
[[ -f "$zip" ]] || fail "no test kit $zip: scripts/package makes it"
work=$(mktemp -d "$root/build/test-kit.XXXXXX")
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
kit=$work/TorvaneManutenzione-$version-tests

quick=(ado_conformance_tests template_store_tests jet_sql_tests store_tests user_locale_Italian)
status=0
report=$(cd "$kit" && "$root/scripts/wine-run" cmd /c run-tests.cmd "${quick[@]}" | tr -d '\r') ||
  status=$?
echo "$report"
[[ $status -eq 0 ]] || fail "run-tests.cmd ended with exit code $status"
[[ "$(tail -n 1 <<< "$report")" == \
   "Tests passed: 4 of 4 (1 not run: they need other regional settings)" ]] ||
  fail "the summary line is not the expected one"
grep -qx 'not run  user_locale_Italian: needs it-IT regional settings, the user has en-US' \
  <<< "$report" || fail "the Italian-only test was not left out under English settings"
grep -qx 'passed   ado_conformance_tests, some cases skipped: see logs\\ado_conformance_tests.xml' \
  <<< "$report" || fail "the ADO conformance test did not report skipped cases"
grep -q 'the Jet OLE DB 4.0 provider is not registered here' \
  "$kit/logs/ado_conformance_tests.txt" ||
  fail "the ADO conformance test does not say why it skipped"
echo "test kit: fine"
