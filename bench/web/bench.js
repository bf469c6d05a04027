'use strict';
// The web page's conversion against proj4js, in the same browser, on the same
// 1,000,000 points spread over mainland France, WGS84 -> NTF Lambert II étendu
// with the three-parameter shift. Each side runs once untimed, then three
// times; the least time counts. The figures go to window.resultatBanc, which
// bench_page.py reads.
const N = 1000000;
const REPETITIONS = 3;

function points() {
  const x = new Float64Array(N), y = new Float64Array(N);
  let etat = 2463534242;  // xorshift32: the same points on every run
  const alea = () => {
    etat ^= etat << 13; etat >>>= 0; etat ^= etat >>> 17; etat ^= etat << 5; etat >>>= 0;
    return etat / 4294967296;
  };
  for (let i = 0; i < N; ++i) { x[i] = -4.8 + 13.0 * alea(); y[i] = 42.3 + 8.8 * alea(); }
  return [x, y];
}

// Each side first runs once untimed, so that both are timed in the code the
// browser optimises them into (V8 compiles WebAssembly in the background while
// a first, quick compilation runs; JavaScript likewise).
function meilleur(fonction) {
  let temps = Infinity, resultat;
  fonction();
  for (let r = 0; r < REPETITIONS; ++r) {
    const debut = performance.now();
    resultat = fonction();
    temps = Math.min(temps, performance.now() - debut);
  }
  return [temps, resultat];
}

// The page's module: the arrays cross into it once, the engine's array
// function converts them, the results cross back.
function geokern(module, x, y) {
  const px = module._malloc(8 * N), py = module._malloc(8 * N);
  const resultat = meilleur(() => {
    module.HEAPF64.set(x, px / 8);
    module.HEAPF64.set(y, py / 8);
    module._web_convertir_tableaux(px, py, N, 11, 8);  // WGS84GG -> NTFL2E
    return [module.HEAPF64.slice(px / 8, px / 8 + N), module.HEAPF64.slice(py / 8, py / 8 + N)];
  });
  module._free(px); module._free(py);
  return resultat;
}

// proj4js with EPSG:27572's definition: Clarke 1880 (IGN), the Paris meridian,
// towgs84 = -168, -60, 320.
function proj4js(x, y) {
  proj4.defs('NTFL2E', '+proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=0 +k_0=0.99987742 +x_0=600000 +y_0=2200000 '
    + '+a=6378249.2 +b=6356515 +towgs84=-168,-60,320,0,0,0,0 +pm=paris +units=m +no_defs');
  const transformation = proj4('WGS84', 'NTFL2E');
  return meilleur(() => {
    const sx = new Float64Array(N), sy = new Float64Array(N);
    for (let i = 0; i < N; ++i) {
      const p = transformation.forward([x[i], y[i]]);
      sx[i] = p[0]; sy[i] = p[1];
    }
    return [sx, sy, transformation];
  });
}

// Text to text: the page's worker on a file of lines "lon lat", and proj4js
// with the same reading and writing done in JavaScript.
function fichierPage(texte) {
  return new Promise((resolu) => {
    const travailleur = new Worker('worker.js');
    let meilleure = Infinity, restantes = REPETITIONS;
    travailleur.onmessage = (e) => {
      if (e.data.type !== 'fin') return;
      meilleure = Math.min(meilleure, e.data.duree);
      if (--restantes > 0) envoyer(); else { travailleur.terminate(); resolu(meilleure); }
    };
    const envoyer = () => travailleur.postMessage({
      fichier: new File([texte], 'points.txt'), source: 'WGS84GG', cible: 'NTFL2E', precision: false, entete: false });
    envoyer();
  });
}

function texteProj4js(texte, transformation) {
  return meilleur(() => {
    const lignes = texte.split('\n');
    const sortie = [];
    for (const ligne of lignes) {
      if (ligne === '') continue;
      const champs = ligne.split(' ');
      const p = transformation.forward([parseFloat(champs[0]), parseFloat(champs[1])]);
      sortie.push(p[0].toFixed(3) + ' ' + p[1].toFixed(3));
    }
    return new Blob([sortie.join('\n'), '\n']);
  })[0];
}

(async () => {
  const module = await NorvaneModule();
  const [x, y] = points();
  const [tGeokern, [gx, gy]] = geokern(module, x, y);
  const [tProj4, [sx, sy, transformation]] = proj4js(x, y);
  let ecart = 0;
  for (let i = 0; i < N; ++i) ecart = Math.max(ecart, Math.abs(gx[i] - sx[i]), Math.abs(gy[i] - sy[i]));
  let texte = '';
  const lignes = [];
  for (let i = 0; i < N; ++i) lignes.push(x[i].toFixed(6) + ' ' + y[i].toFixed(6));
  texte = lignes.join('\n') + '\n';
  const tFichier = await fichierPage(texte);
  const tTexteProj4 = texteProj4js(texte, transformation);
  window.resultatBanc = {
    points: N, geokern_ms: tGeokern, proj4js_ms: tProj4, ecart_max_m: ecart,
    fichier_page_ms: tFichier, texte_proj4js_ms: tTexteProj4, proj4_version: proj4.version,
  };
  document.getElementById('resultat').textContent = JSON.stringify(window.resultatBanc, null, 2);
})();
