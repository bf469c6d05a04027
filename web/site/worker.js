'use strict';
// Converts a whole file off the page's thread, by geokern-conv's line rules
// (the module's web_file_* functions), in pieces: each piece crosses into
// the module once, and its lines come back converted.
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

// One file at a time: the module holds one conversion. A request made while
// another converts ends that one at its next piece, and only the latest
// request waiting is started.
let queue = Promise.resolve();
let latest = 0;
onmessage = (event) => {
  latest = event.data.number;
  queue = queue.then(async () => {
    if (event.data.number !== latest) return;
    try {
      await convert(await ready, event.data);
    } catch (error) {
      postMessage({ type: 'error', number: event.data.number, message: 'Conversion impossible : ' + error.message });
    }
  });
};
