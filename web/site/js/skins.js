// Skins in the page: a dropped or picked .zip, an .ini with its files, or a
// folder. A zip is unpacked by the desktop installer's rules (names in UTF-8,
// CP866 or Windows-1251, "\" separators, nothing outside the skin's folder,
// bounds on entries, bytes and ratio, asked of the game's own code); the
// files go into the game's in-memory file system, where the game's own skin
// reader lists and launches them. The unzipper (zip.js) is loaded when a zip
// comes. Installed skins are kept in IndexedDB and
// listed again next time.

import {decodePicture, pictureFormat} from './pictures.js';

const kDatabase = 'pellox';
const kStore = 'skins';

function openDatabase() {
  return new Promise((resolve, reject) => {
    if (!globalThis.indexedDB) { reject(new Error('no IndexedDB')); return; }
    const request = indexedDB.open(kDatabase, 1);
    request.onupgradeneeded = () => request.result.createObjectStore(kStore, {keyPath: 'id'});
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

function inStore(mode, work) {
  return openDatabase().then((db) => new Promise((resolve, reject) => {
    const tx = db.transaction(kStore, mode);
    const result = work(tx.objectStore(kStore));
    tx.oncomplete = () => { db.close(); resolve(result.result); };
    tx.onerror = tx.onabort = () => { db.close(); reject(tx.error); };
  }));
}

const encoder = new TextEncoder();

// Files picked or dropped without an archive: held to the same names and bounds.
export function gatherFiles(module, list) {
  const total = list.reduce((n, f) => n + f.bytes.length, 0);
  const gate = new module.ZipGate(total);
  const files = new Map();
  try {
    for (const {path, bytes} of list) {
      const verdict = gate.admit(encoder.encode(path), false);
      if (verdict.error) return {error: verdict.error};
      const bound = gate.unpacked(bytes.length);
      if (bound) return {error: bound};
      if (verdict.path) files.set(verdict.path, bytes);
    }
  } finally {
    gate.delete();
  }
  return {files};
}

export class SkinShelf {
  constructor(module) {
    this.module = module;
    this.packages = new Map();  // id -> {id, source, files, stored}
    this.storable = true;
  }

  folderOf(id) { return `/skins/${id}`; }

  // A package's folder and the name the player knows it by (the archive
  // dropped or picked; none for files and folders, whose paths name them
  // already), for the reasons that name its files.
  packageOf(id) {
    const pkg = this.packages.get(id);
    return {folder: this.folderOf(id), name: pkg ? pkg.archive : ''};
  }

  // Writes a package's files into the game's file system.
  mount(pkg) {
    const FS = this.module.FS;
    const root = this.folderOf(pkg.id);
    for (const [path, bytes] of pkg.files) {
      const full = `${root}/${path}`;
      const parts = full.split('/').slice(1, -1);
      let at = '';
      for (const part of parts) {
        at += `/${part}`;
        try { FS.mkdir(at); } catch { /* there already */ }
      }
      FS.writeFile(full, bytes);
    }
    this.packages.set(pkg.id, pkg);
  }

  unmount(id) {
    const FS = this.module.FS;
    const remove = (path) => {
      const stat = FS.stat(path);
      if (FS.isDir(stat.mode)) {
        for (const name of FS.readdir(path)) if (name !== '.' && name !== '..') remove(`${path}/${name}`);
        FS.rmdir(path);
      } else {
        FS.unlink(path);
      }
    };
    try { remove(this.folderOf(id)); } catch { /* gone */ }
    this.packages.delete(id);
  }

  // The usable skins of a mounted package, and the files found that are not
  // ({path, reason}, the reason in the skin reader's English).
  listed(pkg) {
    const usable = [];
    const rejected = [];
    for (const path of [...pkg.files.keys()].sort()) {
      if (!/\.ini$/i.test(path)) continue;
      const ini = `${this.folderOf(pkg.id)}/${path}`;
      const probe = this.module.probeSkin(ini);
      if (probe.usable) usable.push({id: pkg.id, ini, titleSU: probe.titleSU, titleGB: probe.titleGB, path});
      else rejected.push({path, reason: probe.reasons.join('; ')});
    }
    return {usable, rejected};
  }

  // Installs files as a new package: gives {skins, rejected, package}, the
  // last for the reasons of what was rejected.
  // source: what the player dropped or picked, by name; archive: the name of
  // the archive that held the files, empty for files and folders.
  async install(source, files, archive) {
    const id = `s${Date.now().toString(36)}${Math.random().toString(36).slice(2, 7)}`;
    const pkg = {id, source, archive, files, stored: false};
    this.mount(pkg);
    const {usable, rejected} = this.listed(pkg);
    const named = this.packageOf(id);
    if (usable.length === 0) {
      this.unmount(id);
      return {skins: [], rejected, package: named};
    }
    try {
      await inStore('readwrite', (store) => store.put({id, source, archive, files: [...files]}));
      pkg.stored = true;
    } catch {
      this.storable = false;
    }
    return {skins: usable, rejected, package: named};
  }

  // Every package kept from earlier visits, mounted; gives their skins.
  async restore() {
    let records = [];
    try {
      records = await inStore('readonly', (store) => store.getAll());
    } catch {
      this.storable = false;
      return [];
    }
    const skins = [];
    for (const record of records || []) {
      // Kept before the archive's name was: a zip's source is the archive.
      const archive = record.archive ?? (/\.zip$/i.test(record.source) ? record.source : '');
      const pkg = {id: record.id, source: record.source, archive, files: new Map(record.files), stored: true};
      this.mount(pkg);
      skins.push(...this.listed(pkg).usable);
    }
    return skins;
  }

  async forget(id) {
    this.unmount(id);
    await inStore('readwrite', (store) => store.delete(id)).catch(() => {});
  }

  // The skins that ship with the game, fetched from the site.
  async shipped(list) {
    const skins = [];
    for (const {id, files} of list) {
      try {
        const entries = await Promise.all(files.map(async (path) => {
          const response = await fetch(`skins/${id}/${path}`);
          if (!response.ok) throw new Error(path);
          return [path, new Uint8Array(await response.arrayBuffer())];
        }));
        const pkg = {id: `shipped/${id}`, source: id, archive: '', files: new Map(entries), stored: true, shipped: true};
        this.mount(pkg);
        skins.push(...this.listed(pkg).usable);
      } catch { /* a shipped skin missing from the site is left out */ }
    }
    return skins;
  }

  // Every file of a skin's package that could be a picture, decoded, by path.
  async pictures(id) {
    const pkg = this.packages.get(id);
    const out = new Map();
    if (!pkg) return out;
    await Promise.all([...pkg.files].map(async ([path, bytes]) => {
      const full = `${this.folderOf(id)}/${path}`;
      if (/\.(ini|wav|txt)$/i.test(path) && !pictureFormat(bytes)) return;
      out.set(full, await decodePicture(bytes));
    }));
    return out;
  }
}

// Reads what was dropped or picked into [{path, bytes}] lists: each zip a
// source of its own, loose files and folders one source together.
export async function readDropped(dataTransfer) {
  const entries = [...(dataTransfer.items || [])]
    .filter((item) => item.kind === 'file')
    .map((item) => (item.webkitGetAsEntry ? item.webkitGetAsEntry() : null));
  if (entries.length && entries.every(Boolean)) {
    const files = [];
    for (const entry of entries) await walk(entry, '', files);
    return files;
  }
  return readPicked([...dataTransfer.files]);
}

async function walk(entry, prefix, out) {
  if (entry.isFile) {
    const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
    out.push({path: prefix + entry.name, bytes: new Uint8Array(await file.arrayBuffer()), name: entry.name});
    return;
  }
  if (!entry.isDirectory) return;
  const reader = entry.createReader();
  for (;;) {
    const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
    if (!batch.length) break;
    for (const child of batch) await walk(child, `${prefix}${entry.name}/`, out);
  }
}

export async function readPicked(fileList) {
  return Promise.all([...fileList].map(async (file) => ({
    path: file.webkitRelativePath || file.name,
    name: file.name,
    bytes: new Uint8Array(await file.arrayBuffer()),
  })));
}
