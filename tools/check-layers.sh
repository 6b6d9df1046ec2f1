#!/bin/bash
# Fails when a folder includes a header from a folder above it: dependencies point one way,
# platform/ at the bottom, then astro/, app/, render/, and desktop/ and cli/ at the top.
cd "$(dirname "$0")/.."
allowed() {  # folder -> the folders its files may include
    case "$1" in
    platform) echo "platform res" ;;
    astro) echo "astro platform res" ;;
    app) echo "app astro platform res" ;;
    imagelib) echo "imagelib platform res" ;;
    render) echo "render app astro platform res imagelib" ;;
    desktop) echo "desktop render app astro platform res imagelib" ;;
    cli) echo "cli render app astro platform res imagelib" ;;
    esac
}
status=0
for folder in platform astro app imagelib render desktop cli; do
    [ -d "$folder" ] || continue
    while IFS=: read -r file line include; do
        target=$(sed -n 's/.*#include "\([a-z]*\)\/.*/\1/p' <<<"$include")
        [ -z "$target" ] && continue
        if ! grep -qw "$target" <<<"$(allowed "$folder")"; then
            echo "$file:$line: $folder/ must not include $target/: $include"
            status=1
        fi
    done < <(grep -n '#include "[a-z]*/' "$folder"/*.cpp "$folder"/*.h 2>/dev/null)
done
[ $status = 0 ] && echo "layers: every include points down"
exit $status
