'use strict';
// The page's behaviour. Every computation is the WebAssembly module's
// (norvane.js, built from web/module.cpp): the engine, the calculator core and
// the command-line programs' own reading and writing. This script only moves
// texts between the controls and the module.

const $ = (id) => document.getElementById(id);

// The worker that converts whole files, started at once so that it is ready
// (and loaded) before the first file comes, even without a network by then.
const worker = new Worker('worker.js');
let resultUrl = null;
let fileNumber = 0;  // the file whose result the page waits for; older ones are ignored

function readText(module, address) { return module.UTF8ToString(address); }

// The data files the module names, fetched into its directory /data (the
// worker loads its own module the same way).
async function loadData(module) {
  module.FS.mkdir('/data');
  const names = readText(module, module._web_data_files()).split('\n');
  await Promise.all(names.map(async (name) => {
    const response = await fetch('donnees/' + name);
    if (!response.ok) return;  // the module names the missing file
    module.FS.writeFile('/data/' + name, new Uint8Array(await response.arrayBuffer()));
  }));
  return module.ccall("web_open", "string", ["string"], ["/data"]);
}

function fillModels(module) {
  const list = $('modele');
  for (let k = 0; k < module._web_model_count(); ++k) {
    const option = document.createElement('option');
    option.value = String(k);
    option.textContent = readText(module, module._web_model_label(k));
    list.append(option);
  }
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
const GRID_SOURCE = 'grilles du calculateur';
const ELEMENT_WORDS = {
  D: 'déclinaison', I: 'inclinaison', H: 'intensité horizontale', X: 'composante nord', Y: 'composante est',
  Z: 'composante verticale (vers le bas)', F: 'intensité totale',
};

// A field's text for the module, whose texts end at a NUL: a NUL becomes a
// character no field accepts, so that what follows it is not ignored.
const field = (id) => $(id).value.replace(/\0/g, '\uFFFD');

function compute(module) {
  // The module answers "1" and the five texts, or "0" and the message, one per line.
  const model = Number($('modele').value);
  const place = [field('lat'), field('lon'), field('date'), model];
  const types = ['string', 'string', 'string', 'number'];
  const answer = module.ccall('web_declination', 'string', types, place).split('\n');
  const ok = answer[0] === '1';
  DECLINATION_RESULTS.forEach((id, i) => { $(id).value = ok ? answer[i + 1] : ''; });
  $('message').textContent = ok ? '' : answer[1];
  showElements(module.ccall('web_elements', 'string', types, place).split('\n'), ok);
  drawMap(module, ok && answer[3] === GRID_SOURCE);
}

// The elements' table and the pole zone's warning, of the chosen model (IGRF-14
// when the date chooses the source).
function showElements(answer, shown) {
  const rows = $('elements-lignes');
  rows.replaceChildren();
  const ok = shown && answer[0] === '1';
  $('elements').hidden = !ok;
  $('zone-pole').hidden = !ok || answer[2] === '';
  $('zone-pole').textContent = ok && answer[2] ? 'Près d\'un pôle magnétique : ' + answer[2] : '';
  if (!ok) return;
  $('elements-titre').textContent = 'Éléments du champ magnétique, modèle ' + answer[1];
  for (const line of answer.slice(3)) {
    const [name, ...values] = line.split('\t');
    const row = rows.insertRow();
    const head = document.createElement('th');
    head.scope = 'row';
    head.textContent = `${name} (${ELEMENT_WORDS[name]})`;
    row.append(head);
    for (const value of values) row.insertCell().textContent = value || '—';
  }
}

// ---- The map's lines of equal declination ----------------------------------

// The calculator's 2013 map shows the grids; for another date or source, or on
// request, the worker draws the lines of the model at the date over it.
let mapNumber = 0;
let gridLegend = '';  // the legend of the calculator's own map

function drawMap(module, gridsAnswered) {
  const year = module.ccall('web_decimal_year', 'number', ['string'], [$('date').value]);
  const wanted = Number.isFinite(year) && (!gridsAnswered || $('lignes-modele').checked);
  const canvas = $('isogones');
  ++mapNumber;
  if (!wanted) {
    canvas.hidden = true;
    $('legende-carte').innerHTML = gridLegend;
    return;
  }
  const model = Math.max(0, Number($('modele').value));
  const image = $('carte');
  worker.postMessage({ type: 'map', number: mapNumber, model, year, width: image.naturalWidth, height: image.naturalHeight });
  $('legende-carte').textContent = 'Tracé des lignes d\'égale déclinaison…';
}

function showMap(m) {
  const canvas = $('isogones');
  canvas.width = m.width;
  canvas.height = m.height;
  const context = canvas.getContext('2d');
  // The calculator's lines faded under the model's.
  context.fillStyle = 'rgba(255, 255, 255, 0.65)';
  context.fillRect(m.frame[0], m.frame[1], m.frame[2] - m.frame[0], m.frame[3] - m.frame[1]);
  context.strokeStyle = '#b00020';
  context.fillStyle = '#b00020';
  context.lineWidth = 2;
  context.font = 'bold 20px sans-serif';
  for (const line of m.lines) {
    context.beginPath();
    for (let k = 0; k < line.segments.length; k += 4) {
      context.moveTo(line.segments[k], line.segments[k + 1]);
      context.lineTo(line.segments[k + 2], line.segments[k + 3]);
    }
    context.stroke();
    if (line.label) context.fillText(line.text, line.label[0] + 4, line.label[1] - 4);
  }
  canvas.hidden = false;
  $('legende-carte').textContent = `Les lignes d'égale déclinaison du modèle ${m.name} au ${$('date').value}, `
    + `tous les ${m.step.toLocaleString('fr-FR')} °, sur la carte du calculateur.`;
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
  if (m.type === 'map') {
    if (m.number === mapNumber) showMap(m);
    return;
  }
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
  fillModels(module);
  $('date').value = today();
  $('chargement').textContent = missing ? 'Fichier de données absent ou incomplet : ' + missing : '';

  $('form-declinaison').addEventListener('submit', (e) => { e.preventDefault(); compute(module); });
  gridLegend = $('legende-carte').innerHTML;
  // A new model or the map's choice: computed again once a place is there.
  const again = () => { if ($('lat').value && $('lon').value) compute(module); else drawMap(module, false); };
  $('modele').addEventListener('change', again);
  $('lignes-modele').addEventListener('change', again);
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
