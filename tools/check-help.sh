#!/bin/bash
# Checks the help pages in help/ (or the folder given as the first argument):
# - every page the program opens exists: the fixed list below and every "\help\<page>" named in
#   the program's sources;
# - every page is well-formed (parsed as XML, so every element is closed) and has a doctype,
#   a language, a character set and a title; images have alt texts; ids are unique;
# - every local href/src resolves to a file in the folder, and every #fragment to an id of the
#   target page. http(s) and mailto links are allowed and not fetched.
set -u
cd "$(dirname "$0")/.."
HELP=${1:-help}
SOURCES="app desktop platform res ui almanac timesync location settings saver cli"

fail=0
problem() { echo "check-help: $*" >&2; fail=1; }

if ! command -v xmllint >/dev/null; then
    echo "check-help: xmllint is missing (Debian package libxml2-utils)" >&2
    exit 1
fi
if [ ! -d "$HELP" ]; then
    echo "check-help: no folder $HELP" >&2
    exit 1
fi

# Pages the program opens.
required="solvane.htm Suggestion.htm general.htm ClockSettings.htm HomeLocation.htm SynchTime.htm"
named=$(for d in $SOURCES; do [ -d "$d" ] && grep -rhoE '\\\\help\\\\[A-Za-z0-9_.-]+' "$d"; done |
        sed 's/.*\\//' | sort -u)
for page in $required $named; do
    [ -f "$HELP/$page" ] || problem "the program opens $page, which is missing from $HELP/"
done

# The ids of a page, one per line.
ids_of() { grep -oE '\sid="[^"]*"' "$1" | sed -E 's/.*id="([^"]*)"/\1/'; }

pages=$(cd "$HELP" && find . -name '*.htm' -o -name '*.html' | sed 's|^\./||' | sort)
[ -n "$pages" ] || problem "no pages in $HELP/"

for page in $pages; do
    file="$HELP/$page"
    dir=$(dirname "$page")

    if ! out=$(xmllint --noout --nonet "$file" 2>&1); then
        problem "$page is not well-formed:"; echo "$out" >&2
    fi
    head -c 200 "$file" | grep -qi '^<!DOCTYPE html>' || problem "$page: does not start with <!DOCTYPE html>"
    grep -qE '<html lang="[a-z-]+"' "$file" || problem "$page: <html> has no lang"
    grep -qi '<meta charset="utf-8"' "$file" || problem "$page: no <meta charset=\"utf-8\">"
    grep -qE '<title>[^<]+</title>' "$file" || problem "$page: no title"

    dup=$(ids_of "$file" | sort | uniq -d)
    [ -z "$dup" ] || problem "$page: duplicate ids: $dup"
    while read -r img; do
        [ -z "$img" ] && continue
        echo "$img" | grep -q ' alt="' || problem "$page: image without alt: $img"
    done < <(tr '\n' ' ' < "$file" | grep -oE '<img[^>]*>')

    # Every href and src, split over lines or not.
    while read -r link; do
        [ -z "$link" ] && continue
        case "$link" in
            http://* | https://* | mailto:*) continue ;;
            *:*) problem "$page: link with an unexpected scheme: $link"; continue ;;
        esac
        target=${link%%#*}
        fragment=""
        [ "$target" != "$link" ] && fragment=${link#*#}
        if [ -z "$target" ]; then
            targetFile=$file
        else
            targetFile="$HELP/$dir/$target"
            case "$target" in /* | *..*) problem "$page: link leaves the help folder: $link"; continue ;; esac
            if [ ! -f "$targetFile" ]; then
                problem "$page: broken link $link"
                continue
            fi
        fi
        if [ -n "$fragment" ]; then
            ids_of "$targetFile" | grep -qxF "$fragment" ||
                problem "$page: link $link: no id \"$fragment\" in ${target:-$page}"
        fi
    done < <(tr '\n' ' ' < "$file" | grep -oE '\s(href|src)="[^"]*"' | sed -E 's/.*="([^"]*)"/\1/')
done

# Every picture is used by some page.
if [ -d "$HELP/images" ]; then
    for img in $(cd "$HELP" && find images -type f | sort); do
        grep -qF "\"$img\"" "$HELP"/*.htm || problem "$img is used by no page"
    done
fi

if [ $fail -ne 0 ]; then
    echo "check-help: FAILED" >&2
    exit 1
fi
echo "help pages: $(echo "$pages" | wc -w) pages, every link resolves"
