#!/bin/bash
# Fails when the installer script could open the program folder to other users or remove what
# it did not install: rights granted (icacls, cacls, the AccessControl plugin, security calls),
# a folder removed with everything in it, or a program started with the installer's elevation
# (every start goes through the shell, as the logged-on user).
cd "$(dirname "$0")/.."
script=installer/Solvane.nsi
code=$(sed 's/[[:space:]]*;.*$//' "$script")  # without comments
bad=0
check() {
    if echo "$code" | grep -qiE "$1"; then
        echo "$script: $2"
        echo "$code" | grep -niE "$1" | sed 's/^/    /'
        bad=1
    fi
}
# The one use of icacls allowed: an upgrade resets the rights earlier versions granted.
reset="nsExec::ExecToLog '\"\\\$SYSDIR\\\\icacls\\.exe\" \"\\\$INSTDIR\" /reset /T /Q'"
code=$(echo "$code" | grep -vE "^[[:space:]]*$reset\$")
check 'icacls|cacls|AccessControl|SetFileSecurity|SetNamedSecurityInfo|SetEntriesInAcl|/grant' 'grants rights'
check 'RMDir[[:space:]]+/r' 'removes a folder with everything in it'
# The one start allowed: explorer.exe hands the clock to the running shell.
shell_start="Exec '\"\\\$WINDIR\\\\explorer\\.exe\" \"\\\$INSTDIR\\\\solvane\\.exe\"'"
starts=$(echo "$code" | grep -cE "$shell_start")
[ "$starts" -eq 1 ] || { echo "$script: the clock is not started through the shell"; bad=1; }
code=$(echo "$code" | grep -vE "$shell_start")
check '^[[:space:]]*(Exec|ExecWait|ExecShell|nsExec::)' 'starts a program with the installer'"'"'s rights'
[ $bad -eq 0 ] && echo "installer script: no rights granted, nothing removed wholesale, the clock started as the user"
exit $bad
