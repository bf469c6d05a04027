'use strict';
// The page's behaviour. Every computation is the WebAssembly module's
// (norvane.js, built from web/module.cpp): the engine, the calculator core and
// the command-line programs' own reading and writing. This script only moves
// texts between the controls and the module.

const $ = (id) => document.getElementById(id);
const DATA_FILES = ['Grid2009_5.dat', 'GridVS2013Poly.dat', 'IGRF14.shc'];

// The worker that converts whole files, started at once so that it is ready
// (and loaded) before the first file comes, even without a network by then.
const worker = new Worker('worker.js');
let resultUrl = null;
let fileNumber = 0;  // the file whose result the page waits for; older ones are ignored

function readText(module, address) { return module.UTF8ToString(address); }

async function loadData(module) {
  module.FS.mkdir('/data');
  await Promise.all(DATA_FILES.map(async (name) => {
    const response = await fetch('donnees/' + name);
    if (!response.ok) return;  // the module names the missing file
    module.FS.writeFile('/data/' + name, new Uint8Array(await response.arrayBuffer()));
  }));
  return module.ccall("web_open", "string", ["string"], ["/data"]);
}

// The engine's catalogue, grouped by datum (NTF, RGF93, WGS84), each system
// with its EPSG code.
function fillSystems(module) {
  const systems = [];
  for (let code = 1; ; ++code) {
    const name = readText(module, module._web_system_name(code));
    if (name === '') break;
    systems.push({ name, group: readText(module, module._web_system_group(code)),
      label: readText(module, module._web_system_description(code)), epsg: module._web_system_epsg(code) });
  }
  for (const id of ['systeme-source', 'systeme-cible']) {
    const list = $(id);
    for (const group of ['NTF', 'RGF93', 'WGS84']) {
      const optgroup = document.createElement('optgroup');
      optgroup.label = group;
      for (const system of systems.filter((s) => s.group === group)) {
        const option = document.createElement('option');
        option.value = system.name;
        option.textContent = `${system.name} : ${system.label} (EPSG:${system.epsg})`;
        optgroup.append(option);
      }
      list.append(optgroup);
    }
  }
  $('systeme-source').value = 'WGS84GG';
  $('systeme-cible').value = 'RGF93L93';
}

function today() {
  const day = new Date();
  const twoDigits = (n) => String(n).padStart(2, '0');
  return `${day.getFullYear()}-${twoDigits(day.getMonth() + 1)}-${twoDigits(day.getDate())}`;
}

// ---- Declination ----------------------------------------------------------

const DECLINATION_RESULTS = ['declinaison', 'variation', 'source', 'convergence', 'angle-quadrillage'];

// A field's text for the module, whose texts end at a NUL: a NUL becomes a
// character no field accepts, so that what follows it is not ignored.
const field = (id) => $(id).value.replace(/\0/g, '\uFFFD');

function compute(module) {
  // The module answers "1" and the five texts, or "0" and the message, one per line.
  const answer = module.ccall('web_declination', 'string', ['string', 'string', 'string'],
    [field('lat'), field('lon'), field('date')]).split('\n');
  const ok = answer[0] === '1';
  DECLINATION_RESULTS.forEach((id, i) => { $(id).value = ok ? answer[i + 1] : ''; });
  $('message').textContent = ok ? '' : answer[1];
}

// The map's sight, as fractions of the picture's width and height: moved by
// a click or by the arrow keys, chosen by a click or by Enter.
const sight = { x: 0.5, y: 0.5 };

function placeSight() {
  const mark = $('viseur');
  mark.style.left = `${sight.x * 100}%`;
  mark.style.top = `${sight.y * 100}%`;
  mark.hidden = false;
}

function mapKey(module, event) {
  const step = event.shiftKey ? 0.05 : 0.01;
  const moves = { ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, -step], ArrowDown: [0, step] };
  if (event.key in moves) {
    const [dx, dy] = moves[event.key];
    sight.x = Math.min(1, Math.max(0, sight.x + dx));
    sight.y = Math.min(1, Math.max(0, sight.y + dy));
    placeSight();
  } else if (event.key === 'Enter' || event.key === ' ') {
    chooseOnMap(module);
  } else {
    return;
  }
  event.preventDefault();
}

function mapClick(module, event) {
  const image = $('carte');
  sight.x = event.offsetX / image.clientWidth;
  sight.y = event.offsetY / image.clientHeight;
  placeSight();
  chooseOnMap(module);
}

// The sight's pixel of the map's bitmap, turned into a position by the module.
function chooseOnMap(module) {
  const image = $('carte');
  const address = module._malloc(16);
  const inside = module._web_map_position(sight.x * image.naturalWidth, sight.y * image.naturalHeight,
    address, address + 8);
  const longitude = module.getValue(address, 'double');
  const latitude = module.getValue(address + 8, 'double');
  module._free(address);
  if (!inside) {
    $('message').textContent = 'Choisissez un point dans le cadre de la carte.';
    return;
  }
  $('lat').value = latitude.toFixed(4);
  $('lon').value = longitude.toFixed(4);
  compute(module);
}

// ---- Conversion -----------------------------------------------------------

function convertPoint(module) {
  const ok = module.ccall('web_convert_point', 'number', ['string', 'string', 'string', 'string'],
    [$('systeme-source').value, $('systeme-cible').value, field('x'), field('y')]);
  $('resultat-x').value = readText(module, module._web_result_x());
  $('resultat-y').value = readText(module, module._web_result_y());
  $('message-conversion').textContent = ok ? '' : readText(module, module._web_point_message());
}

// The last file chosen or dropped: converted again when the systems or the
// options change.
let lastFile = null;

function convertFile(file) {
  if (!file) return;
  lastFile = file;
  $('telecharger').hidden = true;
  if (resultUrl) URL.revokeObjectURL(resultUrl);
  resultUrl = null;
  $('progression').value = 0;
  $('bilan').value = 'Conversion de ' + file.name + '…';
  $('rapport').textContent = '';
  worker.postMessage({
    number: ++fileNumber, file, source: $('systeme-source').value, target: $('systeme-cible').value,
    precision: $('precision').checked, header: $('entete').checked,
  });
}

// The result is text: a text file keeps its extension, any other file's
// whole name is followed by the target and ".txt" (carte.png-RGF93L93.txt).
const TEXT_EXTENSIONS = ['.txt', '.csv', '.tsv', '.dat', '.xyz', '.asc'];

function resultName(name, target) {
  const point = name.lastIndexOf('.');
  const extension = point > 0 ? name.slice(point).toLowerCase() : '';
  return TEXT_EXTENSIONS.includes(extension) ? `${name.slice(0, point)}-${target}${name.slice(point)}`
    : `${name}-${target}.txt`;
}

worker.onmessage = (event) => {
  const m = event.data;
  if (m.number !== fileNumber) return;
  if (m.type === 'progress') {
    $('progression').value = m.total > 0 ? m.done / m.total : 1;
  } else if (m.type === 'end') {
    $('progression').value = 1;
    const lines = m.lines === 1 ? '1 ligne' : `${m.lines} lignes`;
    $('bilan').value = `${m.name} : ${lines}, ${m.failures} en échec (${(m.duration / 1000).toFixed(1)} s)`;
    $('rapport').textContent = m.report;
    resultUrl = URL.createObjectURL(m.result);
    const link = $('telecharger');
    link.href = resultUrl;
    link.download = resultName(m.name, m.target);
    link.textContent = 'Télécharger ' + link.download;
    link.hidden = false;
  } else if (m.type === 'error') {
    $('bilan').value = m.message;
  }
};

// ---- Start ----------------------------------------------------------------

// Kept by the service worker, the page opens again without a network. Where
// the browser refuses one (a page opened from a file, say), it works as long
// as it stays open.
if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});

(async () => {
  const module = await NorvaneModule();
  const missing = await loadData(module);
  fillSystems(module);
  $('date').value = today();
  $('chargement').textContent = missing ? 'Fichier de données absent ou incomplet : ' + missing : '';

  $('form-declinaison').addEventListener('submit', (e) => { e.preventDefault(); compute(module); });
  $('carte').addEventListener('click', (e) => mapClick(module, e));
  $('zone-carte').addEventListener('keydown', (e) => mapKey(module, e));
  $('form-conversion').addEventListener('submit', (e) => { e.preventDefault(); convertPoint(module); });
  $('fichier').addEventListener('change', () => convertFile($('fichier').files[0]));
  for (const id of ['systeme-source', 'systeme-cible', 'precision', 'entete']) {
    $(id).addEventListener('change', () => convertFile(lastFile));
  }
  const dropZone = $('depot');
  dropZone.addEventListener('dragover', (e) => { e.preventDefault(); dropZone.classList.add('survol'); });
  dropZone.addEventListener('dragleave', () => dropZone.classList.remove('survol'));
  dropZone.addEventListener('drop', (e) => {
    e.preventDefault();
    dropZone.classList.remove('survol');
    convertFile(e.dataTransfer.files[0]);
  });
  document.body.dataset.pret = '1';
})();
