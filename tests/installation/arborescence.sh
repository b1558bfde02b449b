#!/bin/bash
# Installs the build into a scratch prefix and checks the tree with the desktop's own tools.
#   arborescence.sh BUILD ESSAI_BUREAU VERSION
set -euo pipefail
build=$1 essai=$2 version=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echec() { echo "ÉCHEC : $*" >&2; exit 1; }

prefixe=$tmp/prefixe
cmake --install "$build" --prefix "$prefixe" > "$tmp/install.log"

# Every file, and nothing else.
attendus="bin/korv4
bin/korv4-cli
libexec/korv4/korv4-typon
share/applications/korv4.desktop
share/icons/hicolor/scalable/apps/korv4.svg
share/man/man1/korv4-cli.1.gz
share/man/man1/korv4.1.gz
share/mime/packages/korv4.xml"
installes=$(cd "$prefixe" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[ "$installes" = "$attendus" ] || echec "fichiers installés :"$'\n'"$installes"
for p in korv4 korv4-cli; do [ -x "$prefixe/bin/$p" ] || echec "$p n'est pas exécutable"; done

# korv4-cli typon runs the installed korv4-typon (libexec), whose PDF page needs QtGui; korv4-cli
# itself never loads it. An old circuit without elements: typon itself says it is empty (4).
[ -x "$prefixe/libexec/korv4/korv4-typon" ] || echec "korv4-typon n'est pas exécutable"
! objdump -p "$prefixe/bin/korv4-cli" | grep -q 'NEEDED.*Qt6Gui' || echec "korv4-cli lie QtGui"
head -c 150 /dev/zero > "$tmp/vide.CIP"
statut=0
"$prefixe/bin/korv4-cli" typon "$tmp/vide.CIP" "$tmp/vide.pdf" 2> "$tmp/typon.err" || statut=$?
[ "$statut" = 4 ] && grep -q 'est vide' "$tmp/typon.err" ||
  echec "korv4-cli typon installé ($statut) : $(cat "$tmp/typon.err")"

# The installed editor answers without a display.
v=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefixe/bin/korv4" --version)
[ "$v" = "korv4 $version" ] || echec "korv4 --version : $v"

# Desktop entry: valid, opens the file it is given, names the installed icon and our types.
entree=$prefixe/share/applications/korv4.desktop
desktop-file-validate "$entree" || echec "entrée de bureau invalide"
grep -qx 'Exec=korv4 %f' "$entree" || echec "Exec"
grep -qx 'Icon=korv4' "$entree" || echec "Icon"
types=$(grep '^MimeType=' "$entree" | cut -d= -f2 | tr ';' '\n' | sed '/^$/d' | sort)
declares=$(grep -o 'mime-type type="[^"]*"' "$prefixe/share/mime/packages/korv4.xml" |
           cut -d'"' -f2 | sort)
[ "$types" = "$declares" ] || echec "types de l'entrée ($types) et du fichier MIME ($declares)"

# MIME file: well formed, compiled without a word by update-mime-database, then the types of a
# few files as a Qt file manager sees them (the compiled database of the prefix first).
mkdir -p "$tmp/vide"
xmllint --noout "$prefixe/share/mime/packages/korv4.xml"
XDG_DATA_HOME=$tmp/vide XDG_DATA_DIRS=$prefixe/share \
  update-mime-database "$prefixe/share/mime" 2> "$tmp/umd.err"
[ ! -s "$tmp/umd.err" ] || echec "update-mime-database : $(cat "$tmp/umd.err")"
f=$tmp/fichiers
mkdir -p "$f"
printf '\024Composant pour KORV4\000\000\000\000\000\000\000' > "$f/sans_extension"
printf 'texte' > "$f/lisez-moi.txt"
: > "$f/a.CIX"; : > "$f/b.cix"; : > "$f/c.Cip"; : > "$f/d.CPX"; : > "$f/e.cpx"
obtenus=$(cd "$f" && XDG_DATA_HOME=$tmp/vide XDG_DATA_DIRS=$prefixe/share:/usr/share \
          "$essai" type a.CIX b.cix c.Cip d.CPX e.cpx sans_extension lisez-moi.txt)
attendus="application/x-korv4-circuit
application/x-korv4-circuit
application/x-korv4-circuit-ancien
application/x-korv4-composant
application/x-korv4-composant
application/x-korv4-composant
text/plain"
[ "$obtenus" = "$attendus" ] || echec "types obtenus :"$'\n'"$obtenus"

# Icon: Qt loads the SVG and draws it.
"$essai" icone "$prefixe/share/icons/hicolor/scalable/apps/korv4.svg" "$tmp/icone.png" 48 \
  || echec "icône"

# Manual pages: made from each program's --help.
for p in korv4 korv4-cli; do
  page=$(zcat "$prefixe/share/man/man1/$p.1.gz")
  grep -q '^\.TH KORV4' <<< "$page" || echec "page de $p"
  grep -q '^\.SH NOM' <<< "$page" || echec "page de $p sans NOM"
  grep -q "^\.TH .*\"$p $version\"" <<< "$page" || echec "page de $p sans version"
done
zcat "$prefixe/share/man/man1/korv4.1.gz" | grep -q 'FICHIER' || echec "page de korv4"
zcat "$prefixe/share/man/man1/korv4.1.gz" | grep -q -- '-\\-version' || echec "korv4 --version"
zcat "$prefixe/share/man/man1/korv4-cli.1.gz" | grep -q '^convertir' || echec "page de korv4-cli"
echo "installation complète dans un préfixe temporaire : correcte"
