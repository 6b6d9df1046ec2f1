#!/bin/bash
# Writes the NSIS macros that install and remove the help pages one file at a time, so that
# the uninstaller removes exactly what the installer put there and a "help" folder that was
# already in the chosen folder keeps the user's own files.
# usage: list-help.sh DIST_FOLDER OUTPUT.nsh
set -eu
dist=$1
out=$2
windows() { printf '%s' "${1//\//\\}"; }
cd "$dist"
{
    echo '!macro INSTALL_HELP_PAGES'
    find help -type d | LC_ALL=C sort | while read -r folder; do
        echo "  SetOutPath \"\$INSTDIR\\$(windows "$folder")\""
        find "$folder" -maxdepth 1 -type f | LC_ALL=C sort | while read -r file; do
            echo "  File \"\${DIST}\\$(windows "$file")\""
        done
    done
    echo '  SetOutPath "$INSTDIR"'
    echo '!macroend'
    echo '!macro DELETE_HELP_PAGES'
    find help -type f | LC_ALL=C sort | while read -r file; do
        echo "  Delete \"\$INSTDIR\\$(windows "$file")\""
    done
    # Deepest first; a folder that still holds files of the user's stays.
    find help -type d | LC_ALL=C sort -r | while read -r folder; do
        echo "  RMDir \"\$INSTDIR\\$(windows "$folder")\""
    done
    echo '!macroend'
} > "$out.new"
mv "$out.new" "$out"
