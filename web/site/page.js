'use strict';
// The page's behaviour. Every computation is the WebAssembly module's
// (norvane.js, built from web/module.cpp): the engine, the calculator core and
// the command-line programs' own reading and writing. This script only moves
// texts between the controls and the module.

const $ = (id) => document.getElementById(id);
const DONNEES = ['Grid2009_5.dat', 'GridVS2013Poly.dat', 'IGRF14.shc'];

// The worker that converts whole files, started at once so that it is ready
// (and loaded) before the first file comes, even without a network by then.
const travailleur = new Worker('worker.js');
let urlResultat = null;
let numeroFichier = 0;  // the file whose result the page waits for; older ones are ignored

function lireTexte(module, adresse) { return module.UTF8ToString(adresse); }

async function chargerDonnees(module) {
  module.FS.mkdir('/donnees');
  await Promise.all(DONNEES.map(async (nom) => {
    const reponse = await fetch('donnees/' + nom);
    if (!reponse.ok) return;  // the module names the missing file
    module.FS.writeFile('/donnees/' + nom, new Uint8Array(await reponse.arrayBuffer()));
  }));
  return module.ccall("web_ouvre", "string", ["string"], ["/donnees"]);
}

function remplirSystemes(module) {
  for (const id of ['systeme-source', 'systeme-cible']) {
    const liste = $(id);
    for (let code = 1; code <= 12; ++code) {
      const option = document.createElement('option');
      option.value = lireTexte(module, module._web_systeme_nom(code));
      option.textContent = option.value + ' : ' + lireTexte(module, module._web_systeme_description(code));
      liste.append(option);
    }
  }
  $('systeme-source').value = 'WGS84GG';
  $('systeme-cible').value = 'RGF93L93';
}

function aujourdHui() {
  const jour = new Date();
  const deux = (n) => String(n).padStart(2, '0');
  return `${jour.getFullYear()}-${deux(jour.getMonth() + 1)}-${deux(jour.getDate())}`;
}

// ---- Déclinaison ----------------------------------------------------------

const RESULTATS_DECLINAISON = ['declinaison', 'variation', 'source', 'convergence', 'angle-quadrillage'];

function calculer(module) {
  // The module answers "1" and the five texts, or "0" and the message, one per line.
  const reponse = module.ccall('web_declinaison', 'string', ['string', 'string', 'string'],
    [$('lat').value, $('lon').value, $('date').value]).split('\n');
  const ok = reponse[0] === '1';
  RESULTATS_DECLINAISON.forEach((id, i) => { $(id).value = ok ? reponse[i + 1] : ''; });
  $('message').textContent = ok ? '' : reponse[1];
}

// The map's sight, as fractions of the picture's width and height: moved by
// a click or by the arrow keys, chosen by a click or by Enter.
const viseur = { x: 0.5, y: 0.5 };

function placerViseur() {
  const marque = $('viseur');
  marque.style.left = `${viseur.x * 100}%`;
  marque.style.top = `${viseur.y * 100}%`;
  marque.hidden = false;
}

function toucheCarte(module, evenement) {
  const pas = evenement.shiftKey ? 0.05 : 0.01;
  const deplacements = { ArrowLeft: [-pas, 0], ArrowRight: [pas, 0], ArrowUp: [0, -pas], ArrowDown: [0, pas] };
  if (evenement.key in deplacements) {
    const [dx, dy] = deplacements[evenement.key];
    viseur.x = Math.min(1, Math.max(0, viseur.x + dx));
    viseur.y = Math.min(1, Math.max(0, viseur.y + dy));
    placerViseur();
  } else if (evenement.key === 'Enter' || evenement.key === ' ') {
    choisirSurCarte(module);
  } else {
    return;
  }
  evenement.preventDefault();
}

function cliquerCarte(module, evenement) {
  const image = $('carte');
  viseur.x = evenement.offsetX / image.clientWidth;
  viseur.y = evenement.offsetY / image.clientHeight;
  placerViseur();
  choisirSurCarte(module);
}

// The sight's pixel of the map's bitmap, turned into a position by the module.
function choisirSurCarte(module) {
  const image = $('carte');
  const adresse = module._malloc(16);
  const dedans = module._web_carte_position(viseur.x * image.naturalWidth, viseur.y * image.naturalHeight,
    adresse, adresse + 8);
  const longitude = module.getValue(adresse, 'double');
  const latitude = module.getValue(adresse + 8, 'double');
  module._free(adresse);
  if (!dedans) {
    $('message').textContent = 'Choisissez un point dans le cadre de la carte.';
    return;
  }
  $('lat').value = latitude.toFixed(4);
  $('lon').value = longitude.toFixed(4);
  calculer(module);
}

// ---- Conversion -----------------------------------------------------------

function convertirPoint(module) {
  const ok = module.ccall('web_convertir_point', 'number', ['string', 'string', 'string', 'string'],
    [$('systeme-source').value, $('systeme-cible').value, $('x').value, $('y').value]);
  $('resultat-x').value = lireTexte(module, module._web_resultat_x());
  $('resultat-y').value = lireTexte(module, module._web_resultat_y());
  $('message-conversion').textContent = ok ? '' : lireTexte(module, module._web_message_point());
}

// The last file chosen or dropped: converted again when the systems or the
// options change.
let dernierFichier = null;

function convertirFichier(fichier) {
  if (!fichier) return;
  dernierFichier = fichier;
  $('telecharger').hidden = true;
  if (urlResultat) URL.revokeObjectURL(urlResultat);
  urlResultat = null;
  $('progression').value = 0;
  $('bilan').value = 'Conversion de ' + fichier.name + '…';
  $('rapport').textContent = '';
  travailleur.postMessage({
    numero: ++numeroFichier, fichier, source: $('systeme-source').value, cible: $('systeme-cible').value,
    precision: $('precision').checked, entete: $('entete').checked,
  });
}

function nomResultat(nom, cible) {
  const point = nom.lastIndexOf('.');
  return point > 0 ? `${nom.slice(0, point)}-${cible}${nom.slice(point)}` : `${nom}-${cible}.txt`;
}

travailleur.onmessage = (evenement) => {
  const m = evenement.data;
  if (m.numero !== numeroFichier) return;
  if (m.type === 'progression') {
    $('progression').value = m.total > 0 ? m.fait / m.total : 1;
  } else if (m.type === 'fin') {
    $('progression').value = 1;
    const lignes = m.lignes === 1 ? '1 ligne' : `${m.lignes} lignes`;
    $('bilan').value = `${m.nom} : ${lignes}, ${m.echecs} en échec (${(m.duree / 1000).toFixed(1)} s)`;
    $('rapport').textContent = m.rapport;
    urlResultat = URL.createObjectURL(m.resultat);
    const lien = $('telecharger');
    lien.href = urlResultat;
    lien.download = nomResultat(m.nom, m.cible);
    lien.textContent = 'Télécharger ' + lien.download;
    lien.hidden = false;
  } else if (m.type === 'erreur') {
    $('bilan').value = m.message;
  }
};

// ---- Start ----------------------------------------------------------------

(async () => {
  const module = await NorvaneModule();
  const manque = await chargerDonnees(module);
  remplirSystemes(module);
  $('date').value = aujourdHui();
  $('chargement').textContent = manque ? 'Fichier de données absent : ' + manque : '';

  $('form-declinaison').addEventListener('submit', (e) => { e.preventDefault(); calculer(module); });
  $('carte').addEventListener('click', (e) => cliquerCarte(module, e));
  $('zone-carte').addEventListener('keydown', (e) => toucheCarte(module, e));
  $('form-conversion').addEventListener('submit', (e) => { e.preventDefault(); convertirPoint(module); });
  $('fichier').addEventListener('change', () => convertirFichier($('fichier').files[0]));
  for (const id of ['systeme-source', 'systeme-cible', 'precision', 'entete']) {
    $(id).addEventListener('change', () => convertirFichier(dernierFichier));
  }
  const depot = $('depot');
  depot.addEventListener('dragover', (e) => { e.preventDefault(); depot.classList.add('survol'); });
  depot.addEventListener('dragleave', () => depot.classList.remove('survol'));
  depot.addEventListener('drop', (e) => {
    e.preventDefault();
    depot.classList.remove('survol');
    convertirFichier(e.dataTransfer.files[0]);
  });
  document.body.dataset.pret = '1';
})();
