'use strict';
// Converts a whole file off the page's thread, by geokern-conv's line rules
// (the module's web_file_* functions), in pieces: each piece crosses into
// the module once, and its lines come back converted. Also draws the map's
// lines of equal declination of a model at a date (drawMap).
importScripts('norvane.js');

const PIECE = 4 << 20;  // bytes read and converted per call
const ready = NorvaneModule();

async function convert(m, request) {
  const startTime = performance.now();
  const { file, source, target } = request;
  if (!m.ccall('web_file_begin', 'number', ['string', 'string', 'number', 'number'],
    [source, target, request.precision ? 1 : 0, request.header ? 1 : 0])) {
    throw new Error('Système inconnu');
  }
  const buffer = m._malloc(PIECE);
  const chunks = [];
  const keep = (size) => {
    const address = m._web_file_output();
    chunks.push(m.HEAPU8.slice(address, address + size));
  };
  try {
    for (let done = 0; done < file.size; done += PIECE) {
      if (request.number !== latest) return;  // another file, or other systems, were chosen since
      const piece = new Uint8Array(await file.slice(done, done + PIECE).arrayBuffer());
      m.HEAPU8.set(piece, buffer);
      keep(m._web_file_add(buffer, piece.length));
      postMessage({ type: 'progress', number: request.number, done: done + piece.length, total: file.size });
    }
    keep(m._web_file_end());
  } finally {
    m._free(buffer);
  }
  postMessage({
    type: 'end', number: request.number, name: file.name, target,
    result: new Blob(chunks, { type: 'text/plain' }),
    lines: m._web_file_lines(), failures: m._web_file_failures(),
    report: m.UTF8ToString(m._web_file_report()),
    duration: performance.now() - startTime,
  });
}

// ---- The map's lines ------------------------------------------------------

const MAP_STEP = 6;  // pixels between the nodes where the declination is computed
let dataLoaded = null;

// The module's data files, fetched into its directory once, as the page does.
function loadData(m) {
  if (!dataLoaded) {
    dataLoaded = (async () => {
      m.FS.mkdir('/data');
      const names = m.UTF8ToString(m._web_data_files()).split('\n');
      await Promise.all(names.map(async (name) => {
        const response = await fetch('donnees/' + name);
        if (response.ok) m.FS.writeFile('/data/' + name, new Uint8Array(await response.arrayBuffer()));
      }));
      m.ccall('web_open', 'string', ['string'], ['/data']);
    })();
  }
  return dataLoaded;
}

// A step of whole or half degrees giving about ten lines over the range.
function lineStep(low, high) {
  for (const step of [0.25, 0.5, 1, 2, 5, 10]) if ((high - low) / step <= 12) return step;
  return 20;
}

// The declination at the nodes of the map's frame (NorvaneChampTableau
// through web_declinations), then each level's line by marching squares:
// segments across the cells where the level lies between corner values.
async function drawMap(m, request) {
  await loadData(m);
  const { width, height, model, year } = request;
  const nx = Math.floor(width / MAP_STEP) + 1, ny = Math.floor(height / MAP_STEP) + 1, n = nx * ny;
  const lon = m._malloc(8 * n), lat = m._malloc(8 * n), values = m._malloc(8 * n), position = m._malloc(16);
  const inside = new Uint8Array(n);
  const frame = [width, height, 0, 0];
  try {
    for (let j = 0; j < ny; ++j) {
      for (let i = 0; i < nx; ++i) {
        const k = j * nx + i, px = i * MAP_STEP, py = j * MAP_STEP;
        inside[k] = m._web_map_position(px, py, position, position + 8);
        m.HEAPF64[(lon >> 3) + k] = m.HEAPF64[position >> 3];
        m.HEAPF64[(lat >> 3) + k] = m.HEAPF64[(position >> 3) + 1];
        if (inside[k]) {
          frame[0] = Math.min(frame[0], px); frame[1] = Math.min(frame[1], py);
          frame[2] = Math.max(frame[2], px); frame[3] = Math.max(frame[3], py);
        }
      }
    }
    m._web_declinations(model, year, n, lon, lat, values);
    const d = Float64Array.from(m.HEAPF64.subarray(values >> 3, (values >> 3) + n), (v, k) => (inside[k] ? v : NaN));
    const finite = d.filter(Number.isFinite);
    const low = Math.min(...finite), high = Math.max(...finite);
    const step = lineStep(low, high);
    const lines = [];
    for (let level = Math.ceil(low / step) * step; level <= high; level += step) {
      const segments = [];
      for (let j = 0; j + 1 < ny; ++j) {
        for (let i = 0; i + 1 < nx; ++i) {
          // The cell's corners in order round it, and where the level cuts its sides.
          const corners = [[i, j], [i + 1, j], [i + 1, j + 1], [i, j + 1]];
          const cuts = [];
          for (let c = 0; c < 4; ++c) {
            const [ia, ja] = corners[c], [ib, jb] = corners[(c + 1) % 4];
            const a = d[ja * nx + ia], b = d[jb * nx + ib];
            if (!Number.isFinite(a) || !Number.isFinite(b) || (a < level) === (b < level)) continue;
            const t = (level - a) / (b - a);
            cuts.push((ia + t * (ib - ia)) * MAP_STEP, (ja + t * (jb - ja)) * MAP_STEP);
          }
          for (let c = 0; c + 3 < cuts.length; c += 4) segments.push(cuts[c], cuts[c + 1], cuts[c + 2], cuts[c + 3]);
        }
      }
      if (!segments.length) continue;
      // The label where the line is highest on the map.
      let top = 0;
      for (let k = 1; k < segments.length; k += 2) if (segments[k] < segments[top + 1]) top = k - 1;
      const text = `${level.toLocaleString('fr-FR')}°`;
      lines.push({ segments: Float32Array.from(segments), label: [segments[top], segments[top + 1] + 24], text });
    }
    postMessage({
      type: 'map', number: request.number, width, height, frame, lines, step,
      name: m.UTF8ToString(m._web_model_name(model)),
    });
  } finally {
    for (const address of [lon, lat, values, position]) m._free(address);
  }
}

// One file at a time: the module holds one conversion. A request made while
// another converts ends that one at its next piece, and only the latest
// request waiting is started. The map's requests wait in the same line, the
// latest of them only.
let queue = Promise.resolve();
let latest = 0;
let latestMap = 0;
onmessage = (event) => {
  const request = event.data;
  if (request.type === 'map') {
    latestMap = request.number;
    queue = queue.then(async () => {
      if (request.number !== latestMap) return;
      try {
        await drawMap(await ready, request);
      } catch (error) {
        // the page keeps the calculator's map
      }
    });
    return;
  }
  latest = request.number;
  queue = queue.then(async () => {
    if (request.number !== latest) return;
    try {
      await convert(await ready, request);
    } catch (error) {
      postMessage({ type: 'error', number: request.number, message: 'Conversion impossible : ' + error.message });
    }
  });
};
