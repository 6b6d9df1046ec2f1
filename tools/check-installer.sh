#!/bin/bash
# Fails when the installer could open the program folder to other users or remove what it did
# not install: rights granted by the script (icacls, cacls, the AccessControl plugin, security
# calls), rights the folder helper gives (SDDL in installer/*.cpp and *.h) with a write right for
# anyone but Administrators, SYSTEM and TrustedInstaller, a folder removed with everything in it,
# or a program started with the installer's elevation (every start goes through the shell, as the
# logged-on user; the one exception is the folder helper).
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
# The script's own commands (anywhere on a line: after a label or in ${IfThen}), any plugin's
# Exec calls, and the system's calls that start programs (through System::Call).
check '(^|[^[:alnum:]_.])(Exec|ExecWait|ExecShell|ExecShellWait)([[:space:]]|$)|::Exec|ShellExec|CreateProcess|WinExec' \
    'starts a program with the installer'"'"'s rights'

# The helper's descriptors: every allow entry (A, OA, and the conditional XA and ZA) in its
# sources, in any case, with or without an owner part, its literals joined as the compiler joins
# them. One for anyone but Administrators, SYSTEM and TrustedInstaller may hold reading and
# running rights only.
write_bits=$((0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 | 0x80000 | 0x2000000 | 0x10000000 | 0x40000000))
admins='^(ba|sy|s-1-5-32-544|s-1-5-18|s-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464)$'
for source in installer/*.cpp installer/*.h; do
    while IFS=';' read -r _ _ rights _ _ sid; do
        [ -n "$sid" ] || continue
        rights=${rights,,}
        [[ ${sid,,} =~ $admins ]] && continue
        if [[ $rights =~ ^0x([0-9a-f]{1,8})$ ]]; then
            (( 16#${BASH_REMATCH[1]} & write_bits )) || continue
        elif [[ $rights =~ ^([1-9][0-9]{0,9}|0)$ ]]; then
            (( 10#$rights & write_bits )) || continue
        elif [[ $rights =~ ^(fr|fx|gr|gx|rc|cc|sw|wp|lo)+$ ]]; then
            continue
        fi
        echo "$source: an allow entry gives $sid the rights $rights, which include writing"
        bad=1
    done < <(sed -z 's/"[[:space:]]*"//g' "$source" |
        grep -oiE '\((a|oa|xa|za);[^;()"]*;[^;()"]*;[^;()"]*;[^;()"]*;[^;()"]*' | cut -c2-)
done
# The settings file beside the options record is treated as the record is: each deletion and
# each question about user.bin has its counterpart for Solvane.ini.
while read -r line; do
    counterpart=${line//user.bin/Solvane.ini}
    echo "$code" | grep -qF "$counterpart" || { echo "$script: $line without $counterpart"; bad=1; }
done < <(echo "$code" | grep -oE '(Delete|FileExists\}) "[^"]*user\.bin[^"]*"')

[ $bad -eq 0 ] && echo "installer: no rights granted to users, nothing removed wholesale, the clock started as the user"
exit $bad
