#!/bin/bash
# Fails when the installer could open the program folder to other users or remove what it did
# not install: rights granted by the script (icacls, cacls, the AccessControl plugin, security
# calls), rights the folder helper gives (installer/*.cpp, in SDDL) with a write right for
# Users, Authenticated Users, Everyone or the interactive user, a folder removed with
# everything in it, or a program started with the installer's elevation (every start goes
# through the shell, as the logged-on user; the one exception is the folder helper).
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
check 'icacls|cacls|takeown|AccessControl|SetFileSecurity|SetNamedSecurityInfo|SetSecurityInfo|SetKernelObjectSecurity|SetEntriesInAcl|SecurityDescriptor|/grant' 'grants rights'
check 'RMDir[[:space:]]+/r' 'removes a folder with everything in it'
# The one start allowed: explorer.exe hands the clock to the running shell.
shell_start="Exec '\"\\\$WINDIR\\\\explorer\\.exe\" \"\\\$INSTDIR\\\\solvane\\.exe\"'"
starts=$(echo "$code" | grep -cE "$shell_start")
[ "$starts" -eq 1 ] || { echo "$script: the clock is not started through the shell"; bad=1; }
code=$(echo "$code" | grep -vE "$shell_start")
# The one program run with the installer's rights: the folder helper, from the installer's own
# temporary folder, with the shipped files' list it was built with.
helper='"\$PLUGINSDIR\\solvane-folder.exe"'
helper_run="^[[:space:]]*nsExec::ExecToStack '$helper \\\$R0 \\\$InstallKind \"\\\$PLUGINSDIR\\\\shipped-files\\.txt\" \"\\\$INSTDIR\"'\$"
[ "$(echo "$code" | grep -cE "$helper_run")" -eq 1 ] || { echo "$script: the folder helper is not run once, as agreed"; bad=1; }
code=$(echo "$code" | grep -vE "$helper_run")
check '^[[:space:]]*(Exec|ExecWait|ExecShell|ExecShellWait|nsExec::)' 'starts a program with the installer'"'"'s rights'

# The helper's descriptors: an allow entry for those groups may hold read and execute rights only.
write_bits=$((0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 | 0x80000 | 0x2000000 | 0x10000000 | 0x40000000))
for source in installer/*.cpp; do
    for ace in $(grep -oE '"O:[^"]*"' "$source" | grep -oE '\([^)]*\)'); do
        IFS=';' read -r type _ rights _ _ sid <<<"${ace//[()]/}"
        case "$sid" in BU | AU | WD | IU | S-1-5-32-545 | S-1-5-11 | S-1-1-0 | S-1-5-4) ;; *) continue ;; esac
        [ "$type" = A ] || [ "$type" = OA ] || continue
        if [[ $rights =~ ^0x[0-9a-fA-F]+$ ]]; then
            (( rights & write_bits )) || continue
        elif [[ $rights =~ ^(FR|FX|GR|GX|RC)+$ ]]; then
            continue
        fi
        echo "$source: $ace gives $sid a right to write"
        bad=1
    done
done
[ $bad -eq 0 ] && echo "installer: no rights granted to users, nothing removed wholesale, the clock started as the user"
exit $bad
