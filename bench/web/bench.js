'use strict';
// The web page's conversion against proj4js, in the same browser, on the same
// 1,000,000 points spread over mainland France, WGS84 -> NTF Lambert II étendu
// with the three-parameter shift. Each side runs three times untimed, then
// five times; the least time counts. The figures go to window.benchResult, which
// bench_page.py reads.
const N = 1000000;
const WARMUPS = 3;
const REPETITIONS = 5;

function points() {
  const x = new Float64Array(N), y = new Float64Array(N);
  let state = 2463534242;  // xorshift32: the same points on every run
  const random = () => {
    state ^= state << 13; state >>>= 0; state ^= state >>> 17; state ^= state << 5; state >>>= 0;
    return state / 4294967296;
  };
  for (let i = 0; i < N; ++i) { x[i] = -4.8 + 13.0 * random(); y[i] = 42.3 + 8.8 * random(); }
  return [x, y];
}

// Each side first runs untimed, so that both are timed in the code the browser
// optimises them into. V8 compiles WebAssembly in the background while a
// first, quick compilation runs, and JavaScript likewise; proj4js is steady
// from its third run, the module from its fourth or fifth.
function best(run) {
  let time = Infinity, result;
  for (let w = 0; w < WARMUPS; ++w) run();
  for (let r = 0; r < REPETITIONS; ++r) {
    const start = performance.now();
    result = run();
    time = Math.min(time, performance.now() - start);
  }
  return [time, result];
}

// The page's module: the arrays cross into it once, the engine's array
// function converts them, the results cross back. On both sides the results
// go into two arrays made once, before the timing: a new 8 MB array costs
// some 20 ms in Chromium, which would be timed twice per run on both sides
// and only add noise.
function geokern(module, x, y) {
  const px = module._malloc(8 * N), py = module._malloc(8 * N);
  const gx = new Float64Array(N), gy = new Float64Array(N);
  const result = best(() => {
    module.HEAPF64.set(x, px / 8);
    module.HEAPF64.set(y, py / 8);
    module._web_convert_arrays(px, py, N, 11, 8);  // WGS84GG -> NTFL2E
    gx.set(module.HEAPF64.subarray(px / 8, px / 8 + N));
    gy.set(module.HEAPF64.subarray(py / 8, py / 8 + N));
    return [gx, gy];
  });
  module._free(px); module._free(py);
  return result;
}

// proj4js with EPSG:27572's definition: Clarke 1880 (IGN), the Paris meridian,
// towgs84 = -168, -60, 320.
function proj4js(x, y) {
  proj4.defs('NTFL2E', '+proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=0 +k_0=0.99987742 +x_0=600000 +y_0=2200000 '
    + '+a=6378249.2 +b=6356515 +towgs84=-168,-60,320,0,0,0,0 +pm=paris +units=m +no_defs');
  const transformation = proj4('WGS84', 'NTFL2E');
  const sx = new Float64Array(N), sy = new Float64Array(N);
  return best(() => {
    for (let i = 0; i < N; ++i) {
      const p = transformation.forward([x[i], y[i]]);
      sx[i] = p[0]; sy[i] = p[1];
    }
    return [sx, sy, transformation];
  });
}

// Text to text: the page's worker on a file of lines "lon lat", and proj4js
// with the same reading and writing done in JavaScript.
function pageFile(text) {
  return new Promise((resolve) => {
    const worker = new Worker('worker.js');
    let least = Infinity, left = REPETITIONS;
    worker.onmessage = (e) => {
      if (e.data.type !== 'end') return;
      least = Math.min(least, e.data.duration);
      if (--left > 0) send(); else { worker.terminate(); resolve(least); }
    };
    const send = () => worker.postMessage({
      file: new File([text], 'points.txt'), source: 'WGS84GG', target: 'NTFL2E', precision: false, header: false });
    send();
  });
}

function proj4jsText(text, transformation) {
  return best(() => {
    const lines = text.split('\n');
    const output = [];
    for (const line of lines) {
      if (line === '') continue;
      const fields = line.split(' ');
      const p = transformation.forward([parseFloat(fields[0]), parseFloat(fields[1])]);
      output.push(p[0].toFixed(3) + ' ' + p[1].toFixed(3));
    }
    return new Blob([output.join('\n'), '\n']);
  })[0];
}

(async () => {
  const module = await NorvaneModule();
  const [x, y] = points();
  const [tGeokern, [gx, gy]] = geokern(module, x, y);
  const [tProj4, [sx, sy, transformation]] = proj4js(x, y);
  let difference = 0;
  for (let i = 0; i < N; ++i) difference = Math.max(difference, Math.abs(gx[i] - sx[i]), Math.abs(gy[i] - sy[i]));
  let text = '';
  const lines = [];
  for (let i = 0; i < N; ++i) lines.push(x[i].toFixed(6) + ' ' + y[i].toFixed(6));
  text = lines.join('\n') + '\n';
  const tFile = await pageFile(text);
  const tTextProj4 = proj4jsText(text, transformation);
  window.benchResult = {
    points: N, geokern_ms: tGeokern, proj4js_ms: tProj4, max_difference_m: difference,
    page_file_ms: tFile, proj4js_text_ms: tTextProj4, proj4_version: proj4.version,
  };
  document.getElementById('result').textContent = JSON.stringify(window.benchResult, null, 2);
})();
