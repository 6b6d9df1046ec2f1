#!/bin/bash
# Writes, from one list, what the installer needs to know of the files it ships: the NSIS
# macros that install and remove them one at a time (each deleted before it is written, so
# that what was at its name, a link included, is not written through), and the list its folder
# helper keeps in an upgrade (every path relative to the folder, one a line, with the
# uninstaller the installer writes itself). A "help" folder already in the chosen folder keeps
# the user's own files.
# usage: list-shipped.sh DIST_FOLDER OUTPUT.nsh OUTPUT.txt FILE...
# FILE: the program's files in DIST_FOLDER; the help pages are everything under its help/.
set -eu
dist=$1
nsh=$2
list=$3
shift 3
windows() { printf '%s' "${1//\//\\}"; }
cd "$dist"
install_file() {
    echo "  Delete \"\$INSTDIR\\$(windows "$1")\""
    echo "  File \"\${DIST}\\$(windows "$1")\""
}
{
    echo '!macro INSTALL_FILES'
    echo '  SetOutPath "$INSTDIR"'
    for file in "$@"; do install_file "$file"; done
    find help -type d | LC_ALL=C sort | while read -r folder; do
        echo "  SetOutPath \"\$INSTDIR\\$(windows "$folder")\""
        find "$folder" -maxdepth 1 -type f | LC_ALL=C sort | while read -r file; do install_file "$file"; done
    done
    echo '  SetOutPath "$INSTDIR"'
    echo '!macroend'
    echo '!macro DELETE_FILES'
    for file in "$@"; do echo "  Delete \"\$INSTDIR\\$(windows "$file")\""; done
    find help -type f | LC_ALL=C sort | while read -r file; do
        echo "  Delete \"\$INSTDIR\\$(windows "$file")\""
    done
    # Deepest first; a folder that still holds files of the user's stays.
    find help -type d | LC_ALL=C sort -r | while read -r folder; do
        echo "  RMDir \"\$INSTDIR\\$(windows "$folder")\""
    done
    echo '!macroend'
} > "$nsh.new"
{
    for file in "$@" uninstall.exe; do windows "$file"; printf '\r\n'; done
    find help -type f | LC_ALL=C sort | while read -r file; do windows "$file"; printf '\r\n'; done
} > "$list.new"
mv "$nsh.new" "$nsh"
mv "$list.new" "$list"
