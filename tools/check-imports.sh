#!/bin/bash
# Fails unless the program $1 imports only libraries that Windows always takes from its own
# folder (its KnownDLLs, and the api-ms-win-* sets): a program that runs with administrator
# rights must load nothing that a user could put beside it before its first line runs.
set -u
known=' kernel32.dll user32.dll gdi32.dll advapi32.dll ws2_32.dll shell32.dll ole32.dll oleaut32.dll shlwapi.dll '
# ntdll.dll holds the loader itself: the system maps it into every process before anything loads.
known+='msvcrt.dll combase.dll rpcrt4.dll sechost.dll ntdll.dll '
program=$(basename "$1")
imports=$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | tr -d '\r')
if [ -z "$imports" ]; then
    echo "$program: no imports could be read" >&2
    exit 1
fi
bad=0
for library in $imports; do
    case "$library" in api-ms-win-*) continue ;; esac
    if [[ "$known" != *" $library "* ]]; then
        echo "$program imports $library, which Windows may load from the program's folder" >&2
        bad=1
    fi
done
[ $bad = 0 ] && echo "$program imports only known system libraries:" $imports
exit $bad
