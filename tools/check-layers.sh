#!/bin/bash
# Fails when a folder includes a header from a folder above it: dependencies point one way,
# platform/ at the bottom, then astro/, app/, render/, ui/, then almanac/, location/,
# settings/ and timesync/, and desktop/ and cli/ at the top; installer/ (Setup's helper) uses
# platform/ alone.
cd "$(dirname "$0")/.."
grep -n '#include "[a-z]*/' {platform,astro,app,almanac,location,settings,timesync,saver,imagelib,render,ui,desktop,cli,installer}/*.{cpp,h} 2>/dev/null |
awk '
BEGIN {
    allowed["platform"] = " platform res "
    allowed["astro"] = " astro platform res "
    allowed["app"] = " app astro platform res "
    allowed["imagelib"] = " imagelib platform res "
    allowed["render"] = " render app astro platform res imagelib "
    allowed["ui"] = " ui render app astro platform res imagelib "
    allowed["location"] = " location ui render app astro platform res imagelib "
    allowed["settings"] = " settings location ui render app astro platform res imagelib "
    allowed["timesync"] = " timesync ui render app astro platform res imagelib "
    allowed["almanac"] = " almanac ui render app astro platform res imagelib "
    allowed["saver"] = " saver location render app astro platform res imagelib "
    allowed["desktop"] = " desktop almanac timesync settings location ui render app astro platform res imagelib "
    allowed["cli"] = " cli location render app astro platform res imagelib "
    allowed["installer"] = " installer platform "
}
{
    split($0, place, ":")
    folder = place[1]; sub(/\/.*/, "", folder)
    target = $0; sub(/^[^"]*"/, "", target); sub(/\/.*/, "", target)
    if (index(allowed[folder], " " target " ") == 0) {
        print place[1] ":" place[2] ": " folder "/ must not include " target "/"
        bad = 1
    }
}
END {
    if (bad) exit 1
    print "layers: every include points down"
}'
