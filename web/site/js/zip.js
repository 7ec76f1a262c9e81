// Unpacking a zip by the desktop installer's rules: each entry's name and the
// bytes unpacked so far are judged by the game's own code (ZipGate) as the
// entries come, so an archive is refused at the first entry that would land
// outside the skin's folder or the first byte past a bound.

import {Unzip, UnzipInflate} from '../vendor/fflate.js';

const encoder = new TextEncoder();

const latin1 = (bytes) => { let s = '\u0000'; for (const b of bytes) s += String.fromCharCode(b); return s; };

// The bytes of a name as the archive stores it: names without the UTF-8 flag
// come through as bytes (marked by a leading NUL, which no name holds).
function nameBytes(name) {
  if (name.startsWith('\u0000')) return Uint8Array.from(name.slice(1), (c) => c.charCodeAt(0));
  return encoder.encode(name);
}

// Unpacks a zip; gives {files: Map(path -> bytes)} or {error}.
export function unpackZip(module, bytes) {
  const gate = new module.ZipGate(bytes.length);
  const files = new Map();
  let error = '';
  try {
    const unzip = new Unzip((file) => {
      if (error) return;
      const raw = nameBytes(file.name);
      const folder = raw.length > 0 && (raw[raw.length - 1] === 0x2f || raw[raw.length - 1] === 0x5c);
      // The game's code takes the name's bytes as they are (a Uint8Array).
      const verdict = gate.admit(raw, folder);
      if (verdict.error) { error = verdict.error; return; }
      if (!verdict.path) return;
      const chunks = [];
      file.ondata = (err, data, final) => {
        if (error) return;
        if (err) { error = `the archive is damaged or not one this game reads: ${err.message}`; return; }
        const bound = gate.unpacked(data.length);
        if (bound) { error = bound; file.terminate(); return; }
        chunks.push(data);
        if (final) {
          const size = chunks.reduce((n, c) => n + c.length, 0);
          const out = new Uint8Array(size);
          let at = 0;
          for (const c of chunks) { out.set(c, at); at += c.length; }
          files.set(verdict.path, out);
        }
      };
      file.start();
    });
    unzip.filenameDecoder = latin1;
    unzip.register(UnzipInflate);
    unzip.push(bytes, true);
  } catch (e) {
    if (!error) error = `the archive is damaged or not one this game reads: ${e.message || e}`;
  } finally {
    gate.delete();
  }
  if (!error && files.size === 0) error = 'the archive is empty, or damaged, or not one this game reads';
  return error ? {error} : {files};
}

