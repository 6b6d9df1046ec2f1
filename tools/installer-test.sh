#!/bin/bash
# The installer's tests (the Installer suite of the wine test binary) in a wine prefix made for
# them and removed afterwards, so that no earlier run or other test has left files or keys.
# Usage: installer-test.sh WINE_TESTS_EXE SETUP_EXE
set -u
tests_exe=$1
setup_exe=$2
. "$(dirname "$0")/wine-env.sh"

export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/solvane-installer-prefix.XXXXXX")
own_display=no
cleanup() {
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    [ $own_display = yes ] && stop_display
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
# A display of its own only when there is none (tools/with-wine.sh has usually started one).
if [ -z "${DISPLAY:-}" ]; then
    start_display || exit 1
    own_display=yes
fi
ensure_wine_prefix

# The test binary and the installer are read from the build tree (drive Z:).
SOLVANE_SETUP="Z:$(realpath "$setup_exe" | tr / '\\')" wine "$tests_exe" --gtest_filter='Installer*'
