'use strict';
// Converts a whole file off the page's thread, by geokern-conv's line rules
// (the module's web_fichier_* functions), in pieces: each piece crosses into
// the module once, and its lines come back converted.
importScripts('norvane.js');

const PIECE = 4 << 20;  // bytes read and converted per call
const pret = NorvaneModule();

async function convertir(m, demande) {
  const debutTemps = performance.now();
  const { fichier, source, cible } = demande;
  if (!m.ccall('web_fichier_debut', 'number', ['string', 'string', 'number', 'number'],
    [source, cible, demande.precision ? 1 : 0, demande.entete ? 1 : 0])) {
    throw new Error('Système inconnu');
  }
  const tampon = m._malloc(PIECE);
  const morceaux = [];
  const garder = (taille) => {
    const adresse = m._web_fichier_sortie();
    morceaux.push(m.HEAPU8.slice(adresse, adresse + taille));
  };
  try {
    for (let fait = 0; fait < fichier.size; fait += PIECE) {
      const piece = new Uint8Array(await fichier.slice(fait, fait + PIECE).arrayBuffer());
      m.HEAPU8.set(piece, tampon);
      garder(m._web_fichier_ajoute(tampon, piece.length));
      postMessage({ type: 'progression', numero: demande.numero, fait: fait + piece.length, total: fichier.size });
    }
    garder(m._web_fichier_termine());
  } finally {
    m._free(tampon);
  }
  postMessage({
    type: 'fin', numero: demande.numero, nom: fichier.name, cible,
    resultat: new Blob(morceaux, { type: 'text/plain' }),
    lignes: m._web_fichier_lignes(), echecs: m._web_fichier_echecs(),
    rapport: m.UTF8ToString(m._web_fichier_rapport()),
    duree: performance.now() - debutTemps,
  });
}

// One file at a time: the module holds one conversion, so a file chosen
// while another converts waits for it.
let file = Promise.resolve();
onmessage = (evenement) => {
  file = file.then(async () => {
    try {
      await convertir(await pret, evenement.data);
    } catch (erreur) {
      postMessage({ type: 'erreur', numero: evenement.data.numero, message: 'Conversion impossible : ' + erreur.message });
    }
  });
};
