#!/bin/bash
# Builds the Debian package from the build folder, inspects it, checks its dependencies against
# the libraries its programs load, then installs and removes it in a scratch root (never on
# this machine's own system).
#   paquet.sh BUILD VERSION
set -euo pipefail
build=$1 version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echec() { echo "ÉCHEC : $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" > "$tmp/cpack.log" ||
  { cat "$tmp/cpack.log"; echec "cpack"; }
deb=$tmp/korv4_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || echec "paquet absent : $(ls "$tmp")"

# Control file.
champ() { dpkg-deb -f "$deb" "$1"; }
[ "$(champ Package)" = korv4 ] || echec "Package"
[ "$(champ Version)" = "$version" ] || echec "Version"
depends=$(champ Depends)
echo "Depends: $depends"
grep -q gerbv <<< "$depends" && echec "gerbv ne doit pas être une dépendance"

# Contents: the installed tree under /usr, every file owned by root.
contenu=$(dpkg-deb -c "$deb")
for f in usr/bin/korv4 usr/bin/korv4-cli usr/libexec/korv4/korv4-typon \
         usr/share/applications/korv4.desktop \
         usr/share/icons/hicolor/scalable/apps/korv4.svg usr/share/mime/packages/korv4.xml \
         usr/share/man/man1/korv4.1.gz usr/share/man/man1/korv4-cli.1.gz; do
  grep -q " \./$f\$" <<< "$contenu" || echec "$f absent du paquet"
done
! grep -v ' root/root ' <<< "$contenu" || echec "fichiers n'appartenant pas à root"
# No compiled MIME or icon cache: the system's triggers build those.
! grep -E 'mime\.cache|icon-theme\.cache' <<< "$contenu" || echec "cache dans le paquet"

# Dependencies: every library the programs load comes from a package of Depends, and every
# package of Depends provides one of them.
dpkg-deb -x "$deb" "$tmp/x"
paquetDe() {  # the package that owns a library (paths with or without /usr, links followed)
  local l=$1 p
  for c in "$l" "$(readlink -f "$l")" "${l#/usr}" "/usr$l"; do
    p=$(dpkg -S "$c" 2> /dev/null | head -1 | cut -d: -f1) && [ -n "$p" ] && { echo "$p"; return; }
  done
  echec "aucun paquet ne fournit $l"
}
libs=$(ldd "$tmp/x/usr/bin/korv4" "$tmp/x/usr/bin/korv4-cli" "$tmp/x/usr/libexec/korv4/korv4-typon" | awk '/=> \//{print $3}' | sort -u)
grep -q 'not found' <<< "$(ldd "$tmp/x/usr/bin/korv4")" && echec "bibliothèque introuvable"
fournisseurs=$(for l in $libs; do paquetDe "$l"; done | sort -u)
declares=$(tr ',' '\n' <<< "$depends" | sed 's/(.*)//; s/ //g' | sed '/^$/d' | sort -u)
# Packages of the libraries' own dependencies (loaded through the Qt libraries) need not be
# named; those the programs link directly must.
directes=$(for b in bin/korv4 bin/korv4-cli libexec/korv4/korv4-typon; do objdump -p "$tmp/x/usr/$b" | awk '/NEEDED/{print $2}'; done |
           sort -u)
for n in $directes; do
  l=$(grep -m1 "/$n\$" <<< "$libs") || echec "$n non chargée"
  p=$(paquetDe "$l")
  grep -qx "$p" <<< "$declares" || echec "$n ($p) liée mais absente de Depends"
done
for p in $declares; do
  grep -qx "$p" <<< "$fournisseurs" || echec "$p dans Depends sans bibliothèque chargée"
done

# Installed and removed in a scratch root (its own dpkg database, the dependencies forced since
# that root holds nothing else).
racine=$tmp/racine
mkdir -p "$racine/var/lib/dpkg/info" "$racine/var/lib/dpkg/updates"
: > "$racine/var/lib/dpkg/status"
dpkg --root="$racine" --log=/dev/null --force-depends -i "$deb" > "$tmp/dpkg.log" 2>&1 ||
  { cat "$tmp/dpkg.log"; echec "dpkg -i"; }
[ "$(dpkg-query --root="$racine" -W -f='${Status}' korv4)" = "install ok installed" ] ||
  echec "état après dpkg -i"
[ -x "$racine/usr/bin/korv4" ] && [ -f "$racine/usr/share/applications/korv4.desktop" ] ||
  echec "fichiers installés"
dpkg --root="$racine" --log=/dev/null --purge korv4 > "$tmp/dpkg.log" 2>&1 ||
  { cat "$tmp/dpkg.log"; echec "dpkg --purge"; }
restes=$(cd "$racine" && find . -mindepth 1 -not -path './var*')
[ -z "$restes" ] || echec "restes après dpkg --purge :"$'\n'"$restes"
echo "paquet correct : $(basename "$deb")"
