#!/usr/bin/env node
// Reads a board-house set with readers we did not write (the tracespace packages installed by
// `make deps` from tests/cli/lecteurs/package-lock.json) and prints on stdout, as one JSON
// object, what they say about it:
//
//   node lit_jeu.js DOSSIER
//
// {
//   "couches": {NAME: {"type", "side"}},  what whats-that-gerber takes every file for, by name
//   "fichiers": {NAME: {                  every file it takes for a layer:
//     "format",                           the coordinate format gerber-parser settled on
//     "avertissements": [TEXT...],        gerber-parser, gerber-plotter and gerber-to-svg
//     "erreurs": [TEXT...],               warnings and errors, "source:line: message"
//     "unites",                           "in" or "mm", as the plotter read them
//     "boite": [XMIN, YMIN, XMAX, YMAX],  what the file draws, in its units
//     "pastilles": [[XMIN, YMIN, XMAX, YMAX]...]  every flash (pads, holes), in its units
//   }},
//   "pile": {                             pcb-stackup on every layer file
//     "contour": [X, Y, W, H],            the board's viewBox from the outline's centre line
//                                         (units x 1000)
//     "tout": [X, Y, W, H],               the viewBox of every layer, the outline left aside
//     "svg": [TOP BYTES, BOTTOM BYTES]    the size of the two SVG renders
//   }
// }
//
// The modules are looked up through NODE_PATH (the test points it at build/npm/node_modules).
// Exit status 0 when the readers ran (whatever they said), 2 when they could not.
'use strict';

const fs = require('fs');
const path = require('path');

function charge(nom) {
  try {
    return require(nom);
  } catch (e) {
    process.stderr.write(`lit_jeu.js : le module npm ${nom} manque (NODE_PATH=${
        process.env.NODE_PATH || ''}) ; \`make deps\` l'installe.\n`);
    process.exit(2);
  }
}

const whatsThatGerber = charge('whats-that-gerber');
const gerberParser = charge('gerber-parser');
const gerberPlotter = charge('gerber-plotter');
const gerberToSvg = charge('gerber-to-svg');
const pcbStackup = charge('pcb-stackup');

const vide = () => [Infinity, Infinity, -Infinity, -Infinity];
function ajoute(b, xmin, ymin, xmax, ymax) {
  b[0] = Math.min(b[0], xmin);
  b[1] = Math.min(b[1], ymin);
  b[2] = Math.max(b[2], xmax);
  b[3] = Math.max(b[3], ymax);
}

// The box of a tool's shape around its own origin (gerber-plotter's primitives).
function boiteForme(primitives) {
  const b = vide();
  for (const p of primitives) {
    if (p.type === 'circle') {
      ajoute(b, p.cx - p.r, p.cy - p.r, p.cx + p.r, p.cy + p.r);
    } else if (p.type === 'rect') {
      ajoute(b, p.cx - p.width / 2, p.cy - p.height / 2, p.cx + p.width / 2, p.cy + p.height / 2);
    } else if (p.type === 'poly') {
      for (const [x, y] of p.points) ajoute(b, x, y, x, y);
    } else if (p.type === 'ring' || p.type === 'clip') {
      const a = p.type === 'ring' ? p : p.clip;
      const r = a.r + a.width / 2;
      ajoute(b, a.cx - r, a.cy - r, a.cx + r, a.cy + r);
    }
  }
  return b;
}

// gerber-parser then gerber-plotter on one file: warnings, errors, flashes and extent.
function litFichier(chemin) {
  return new Promise(fin => {
    const r = {
      format: null,
      avertissements: [],
      erreurs: [],
      unites: null,
      boite: null,
      pastilles: [],
    };
    const parser = gerberParser();
    const plotter = gerberPlotter();
    const formes = {};
    let fini = false;
    const termine = () => {
      if (fini) return;
      fini = true;
      r.format = parser.format;
      fin(r);
    };
    parser.on('warning', w => r.avertissements.push(`gerber-parser:${w.line}: ${w.message}`));
    plotter.on('warning', w => r.avertissements.push(`gerber-plotter:${w.line}: ${w.message}`));
    parser.on('error', e => {
      r.erreurs.push(`gerber-parser: ${e.message}`);
      termine();
    });
    plotter.on('error', e => {
      r.erreurs.push(`gerber-plotter: ${e.message}`);
      termine();
    });
    plotter.on('data', o => {
      if (o.type === 'shape') {
        formes[o.tool] = boiteForme(o.shape);
      } else if (o.type === 'pad') {
        const b = formes[o.tool];
        r.pastilles.push([o.x + b[0], o.y + b[1], o.x + b[2], o.y + b[3]]);
      } else if (o.type === 'size') {
        r.unites = o.units;
        r.boite = o.box.every(Number.isFinite) ? o.box : null;
      }
    });
    plotter.on('end', termine);
    fs.createReadStream(chemin).pipe(parser).pipe(plotter);
  });
}

// gerber-to-svg with the options pcb-stackup would give it; the finished converter, for the
// stack.
function convertit(chemin, couche) {
  return new Promise(fin => {
    const avertissements = [];
    const options = {plotAsOutline: couche.type === whatsThatGerber.TYPE_OUTLINE};
    const convertisseur = gerberToSvg(
        fs.createReadStream(chemin), options,
        erreur => fin({convertisseur, avertissements, erreur}));
    convertisseur.on('warning', w => avertissements.push(`gerber-to-svg:${w.line}: ${w.message}`));
  });
}

function empile(couches, useOutline) {
  return pcbStackup(
      couches.map(c => ({side: c.side, type: c.type, converter: c.convertisseur})),
      {id: 'jeu', useOutline});
}

async function principal() {
  const dossier = process.argv[2];
  if (!dossier || process.argv.length !== 3) {
    process.stderr.write('usage : lit_jeu.js DOSSIER\n');
    process.exit(2);
  }
  const noms = fs.readdirSync(dossier).filter(n => fs.statSync(path.join(dossier, n)).isFile());
  noms.sort();
  const sortie = {couches: whatsThatGerber(noms), fichiers: {}, pile: null};
  const pile = [];
  for (const nom of noms) {
    const couche = sortie.couches[nom];
    if (!couche.type) continue;
    const chemin = path.join(dossier, nom);
    const r = await litFichier(chemin);
    const svg = await convertit(chemin, couche);
    r.avertissements.push(...svg.avertissements);
    if (svg.erreur) {
      r.erreurs.push(`gerber-to-svg: ${svg.erreur.message}`);
    } else {
      pile.push({side: couche.side, type: couche.type, convertisseur: svg.convertisseur});
    }
    sortie.fichiers[nom] = r;
  }
  if (pile.some(c => c.type === whatsThatGerber.TYPE_OUTLINE)) {
    const avecContour = await empile(pile, true);
    const sansContour =
        await empile(pile.filter(c => c.type !== whatsThatGerber.TYPE_OUTLINE), false);
    sortie.pile = {
      contour: avecContour.top.viewBox,
      tout: sansContour.top.viewBox,
      svg: [avecContour.top.svg.length, avecContour.bottom.svg.length],
    };
  }
  process.stdout.write(JSON.stringify(sortie, null, 1) + '\n');
}

principal().catch(e => {
  process.stderr.write(`lit_jeu.js : ${e.stack || e}\n`);
  process.exit(2);
});
