#!/usr/bin/env python3
"""Strict PNG reader made of Python's standard library only (zlib, struct): checks the
signature, the chunk order and every CRC, decompresses and unfilters the rows, and writes the
picture as a binary PPM (P6), so that a test can compare it with the picture drawn in memory.

    lit_png.py IMAGE.png SORTIE.ppm

Prints the colour type, bit depth, palette size and the size of the compressed data on stdout;
exits 1 with the reason on stderr when the file is not a valid PNG."""

import struct
import sys
import zlib


def erreur(message):
    sys.stderr.write("PNG invalide : " + message + "\n")
    sys.exit(1)


def lit(chemin):
    with open(chemin, "rb") as f:
        octets = f.read()
    if octets[:8] != b"\x89PNG\r\n\x1a\n":
        erreur("signature")
    pos, chunks = 8, []
    while pos < len(octets):
        if pos + 12 > len(octets):
            erreur("chunk tronqué")
        (n,) = struct.unpack(">I", octets[pos : pos + 4])
        genre = octets[pos + 4 : pos + 8]
        donnees = octets[pos + 8 : pos + 8 + n]
        if len(donnees) != n or pos + 12 + n > len(octets):
            erreur("chunk %r tronqué" % genre)
        (crc,) = struct.unpack(">I", octets[pos + 8 + n : pos + 12 + n])
        if zlib.crc32(genre + donnees) != crc:
            erreur("CRC du chunk %r" % genre)
        chunks.append((genre, donnees))
        pos += 12 + n
    genres = [g for g, _ in chunks]
    if not genres or genres[0] != b"IHDR" or genres[-1] != b"IEND" or genres.count(b"IEND") != 1:
        erreur("IHDR en premier et IEND en dernier attendus")
    idat = [i for i, g in enumerate(genres) if g == b"IDAT"]
    if not idat or idat != list(range(idat[0], idat[-1] + 1)):
        erreur("les IDAT doivent se suivre")
    largeur, hauteur, bits, type_, compression, filtre, entrelace = struct.unpack(
        ">IIBBBBB", chunks[0][1]
    )
    if largeur < 1 or hauteur < 1 or compression or filtre or entrelace:
        erreur("IHDR")
    canaux = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(type_)
    if canaux is None or (type_ == 3 and bits not in (1, 2, 4, 8)) or (type_ != 3 and bits != 8):
        erreur("type de couleur %d sur %d bits non pris en charge" % (type_, bits))
    palette = None
    if type_ == 3:
        plte = [d for g, d in chunks if g == b"PLTE"]
        if len(plte) != 1 or len(plte[0]) % 3 or not 0 < len(plte[0]) <= 3 * (1 << bits):
            erreur("PLTE")
        if genres.index(b"PLTE") > idat[0]:
            erreur("PLTE après IDAT")
        palette = plte[0]
    compresse = b"".join(d for g, d in chunks if g == b"IDAT")
    d = zlib.decompressobj()
    brut = d.decompress(compresse)
    if not d.eof or d.unused_data:
        erreur("flux zlib incomplet ou suivi de données")
    octets_pixel = max(1, canaux * bits // 8)
    octets_ligne = (largeur * canaux * bits + 7) // 8
    if len(brut) != hauteur * (octets_ligne + 1):
        erreur("%d octets décompressés au lieu de %d" % (len(brut), hauteur * (octets_ligne + 1)))
    lignes, dessus = [], bytearray(octets_ligne)
    for y in range(hauteur):
        f = brut[y * (octets_ligne + 1)]
        ligne = bytearray(brut[y * (octets_ligne + 1) + 1 : (y + 1) * (octets_ligne + 1)])
        if f > 4:
            erreur("filtre %d à la ligne %d" % (f, y))
        for x in range(octets_ligne):
            a = ligne[x - octets_pixel] if x >= octets_pixel else 0
            b = dessus[x]
            c = dessus[x - octets_pixel] if x >= octets_pixel else 0
            if f == 1:
                ligne[x] = (ligne[x] + a) & 255
            elif f == 2:
                ligne[x] = (ligne[x] + b) & 255
            elif f == 3:
                ligne[x] = (ligne[x] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                ligne[x] = (ligne[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        lignes.append(bytes(ligne))
        dessus = ligne
    rgb = bytearray()
    for ligne in lignes:
        if type_ == 3:
            par_octet = 8 // bits
            masque = (1 << bits) - 1
            for x in range(largeur):
                i = (ligne[x // par_octet] >> (8 - bits * (x % par_octet + 1))) & masque
                if 3 * i + 3 > len(palette):
                    erreur("index %d hors de la palette" % i)
                rgb += palette[3 * i : 3 * i + 3]
        elif type_ == 2:
            rgb += ligne
        else:
            for x in range(largeur):
                px = ligne[x * canaux : (x + 1) * canaux]
                rgb += px[:3] if canaux >= 3 else bytes([px[0]] * 3)
    couleurs = len(palette) // 3 if palette else 0
    return largeur, hauteur, type_, bits, couleurs, len(compresse), bytes(rgb)


def main():
    if len(sys.argv) != 3:
        sys.stderr.write("usage : lit_png.py IMAGE.png SORTIE.ppm\n")
        sys.exit(2)
    largeur, hauteur, type_, bits, couleurs, compresse, rgb = lit(sys.argv[1])
    with open(sys.argv[2], "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (largeur, hauteur) + rgb)
    print("type %d, %d bits, %d couleurs, %d octets compressés" % (type_, bits, couleurs, compresse))


main()
