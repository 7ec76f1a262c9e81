// The page: loads the game, shows the start section (languages, memo, skin
// menu, start button) or, for a link ending in #play, the built-in game's
// demo at once; installs dropped and picked skins; registers the service
// worker that keeps the page for use without a network.

import createPellox from '../pellox.mjs';
import {Handheld, compose} from './handheld.js';
import {decodeBuiltinSheet, decodeSheetPicture} from './pictures.js';
import {Sound} from './sound.js';
import {SkinShelf, gatherFiles, readDropped, readPicked} from './skins.js';
import {kStrings, bullets, takeSharedTexts} from './strings.js';

const $ = (id) => document.getElementById(id);
const kEffectNames = ['UL', 'UR', 'DL', 'DR', 'Basket', 'Crack', 'Chuck', 'GO'];
const kLanguageKey = 'pellox.language';

const page = {
  module: null, handheld: null, shelf: null, sound: null, loadingLine: 0,
  language: 'gb', texts: {}, skins: [], storageWorks: true, builtinTitles: null,
};
window.pelloxPage = page;

function t() { return kStrings[page.language]; }

// A reason of the skin reader or the installer (English) in the page's
// language, the paths in it named as the skin's package has them.
function reasonText(reason, pkg = {folder: '', name: ''}) {
  return page.module.reasonText(page.language === 'su', reason, pkg.folder, pkg.name);
}

async function fetchOk(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`${url}: ${response.status} ${response.statusText}`);
  return response;
}

// A text file of the start screen, its final line end dropped.
async function startscreenText(name) {
  const text = await (await fetchOk(`startscreen/${name}.txt`)).text();
  return text.replace(/\r?\n$/, '');
}

async function loadTexts(language) {
  if (page.texts[language]) return page.texts[language];
  const suffix = language === 'su' ? 'ru' : 'en';
  const names = ['intro', 'memo', 'year', 'credits1', 'credits2', 'credits3'];
  const values = await Promise.all(names.map((n) => startscreenText(`${n}_${suffix}`)));
  page.texts[language] = Object.fromEntries(names.map((n, i) => [n, values[i]]));
  return page.texts[language];
}

function storageWorks() {
  try {
    localStorage.setItem('pellox.probe', '1');
    localStorage.removeItem('pellox.probe');
    return true;
  } catch {
    return false;
  }
}

function rememberedLanguage() {
  try {
    const value = localStorage.getItem(kLanguageKey);
    return value === 'su' || value === 'gb' ? value : null;
  } catch {
    return null;
  }
}

// The player's choice when one was remembered, else the browser's first language.
function startLanguage() {
  const remembered = rememberedLanguage();
  if (remembered) return remembered;
  const locale = (navigator.languages && navigator.languages[0]) || navigator.language || '';
  return page.module.localeIsRussian(locale) ? 'su' : 'gb';
}

function showStorageLine(text) {
  const line = $('storageLine');
  line.textContent = text;
  line.hidden = false;
}

async function setLanguage(language, remember) {
  page.language = language;
  if (remember) {
    try { localStorage.setItem(kLanguageKey, language); } catch { /* told by the storage line */ }
  }
  const texts = await loadTexts(language);
  const s = t();
  document.documentElement.lang = language === 'su' ? 'ru' : 'en';
  $('caption').textContent = s.caption;
  $('intro').textContent = texts.intro;
  $('memo').textContent = texts.memo;
  $('year').textContent = texts.year;
  for (let i = 0; i < 3; ++i) $(`credit${i}`).textContent = texts[`credits${i + 1}`];
  $('skinCaption').textContent = s.choosing;
  $('btStart').textContent = s.start;
  $('pickFilesText').textContent = s.pickFiles;
  $('pickFolderText').textContent = s.pickFolder;
  $('forgetSkin').textContent = s.forget;
  $('dropHint').textContent = s.dropHint;
  $('keysHint').textContent = s.keysHint;
  $('langSU').setAttribute('aria-pressed', String(language === 'su'));
  $('langGB').setAttribute('aria-pressed', String(language === 'gb'));
  if (!page.storageWorks) showStorageLine(s.storageRefused);
  fillMenu($('cbSkin').value);
  if (!page.handheld.running) document.title = s.caption;
}

function fillMenu(selected) {
  const menu = $('cbSkin');
  menu.textContent = '';
  const su = page.language === 'su';
  menu.append(new Option(su ? page.builtinTitles.su : page.builtinTitles.gb, ''));
  for (const skin of page.skins) menu.append(new Option(su ? skin.titleSU : skin.titleGB, skin.ini));
  menu.value = page.skins.some((s) => s.ini === selected) ? selected : '';
  updateForgetButton();
}

function updateForgetButton() {
  const skin = page.skins.find((s) => s.ini === $('cbSkin').value);
  $('forgetSkin').hidden = !skin || skin.id.startsWith('shipped/');
}

function message(text) {
  const box = $('skinMessage');
  box.textContent = text;
  box.hidden = !text;
}

// --- Playing -------------------------------------------------------------
function showPlay() {
  $('start').hidden = true;
  $('play').hidden = false;
  document.body.classList.add('playing');
  $('playLine').textContent = '';
}

function showStart() {
  $('play').hidden = true;
  $('start').hidden = false;
  document.body.classList.remove('playing');
  document.title = t().caption;
  if (location.hash === '#play') history.replaceState(null, '', location.pathname + location.search);
  // Enter starts the game, as on the desktop; the page stays at its top, where
  // the title and the flags are, on a screen too short for the whole section.
  $('btStart').focus({preventScroll: true});
}

async function start() {
  const ini = $('cbSkin').value;
  message('');
  if (!ini) {
    showPlay();
    page.handheld.launchBuiltin();
    return;
  }
  const skin = page.skins.find((s) => s.ini === ini);
  const pictures = await page.shelf.pictures(skin.id);
  const failures = page.handheld.launchSkin(ini, pictures, page.shelf.packageOf(skin.id));
  if (failures.length) {
    const s = t();
    message(`${s.launchFailed}\n${s.notLoaded}\n${bullets(s, failures)}\n\n${s.chooseAnother}`);
    return;
  }
  showPlay();
}

// --- Installing skins ------------------------------------------------------
function isZip(file) {
  const b = file.bytes;
  return b.length >= 4 && b[0] === 0x50 && b[1] === 0x4b && (b[2] === 3 || b[2] === 5) && (b[3] === 4 || b[3] === 6);
}

async function install(list) {
  if (!list.length) return;
  const s = t();
  message(s.installing);
  const sources = [];
  const loose = [];
  const {unpackZip} = list.some(isZip) ? await import('./zip.js') : {};
  for (const file of list) {
    if (isZip(file)) sources.push({name: file.name, archive: file.name, unpack: () => unpackZip(page.module, file.bytes)});
    else loose.push(file);
  }
  if (loose.length) {
    const folder = loose[0].path.includes('/') ? loose[0].path.split('/')[0] : loose[0].name;
    // A picked folder keeps its own name in its files' paths: nothing holds it.
    sources.push({name: folder, archive: '', unpack: () => gatherFiles(page.module, loose)});
  }
  const blocks = [];
  const installed = [];
  for (const source of sources) {
    const unpacked = source.unpack();
    let result = {skins: [], rejected: []};
    if (!unpacked.error) result = await page.shelf.install(source.name, unpacked.files, source.archive);
    if (result.skins.length) { installed.push(...result.skins); continue; }
    let block = s.noSkinFrom(source.name);
    if (unpacked.error) block += `\n${reasonText(unpacked.error)}`;
    else if (result.rejected.length) {
      const lines = result.rejected.map((r) => `${r.path}: ${reasonText(r.reason, result.package)}`);
      block += `\n${s.rejectedHeading}\n${bullets(s, lines)}`;
    }
    else block += `\n${s.noSkinFile}`;
    blocks.push(block);
  }
  page.skins.push(...installed);
  fillMenu(installed.length ? installed[0].ini : $('cbSkin').value);
  const lines = [];
  if (installed.length) {
    const su = page.language === 'su';
    lines.push(s.installed(installed.map((k) => (su ? k.titleSU : k.titleGB)).join(', ')));
    if (!page.shelf.storable) lines.push(s.skinStoreFailed);
  }
  if (blocks.length) lines.push(`${s.installFailed}\n${blocks.join('\n\n')}`);
  message(lines.join('\n\n'));
}

function listenForSkins() {
  $('pickFiles').addEventListener('change', async (e) => {
    const files = await readPicked(e.target.files);
    e.target.value = '';
    await install(files);
  });
  $('pickFolder').addEventListener('change', async (e) => {
    const files = await readPicked(e.target.files);
    e.target.value = '';
    await install(files);
  });
  for (const id of ['pickFilesLabel', 'pickFolderLabel']) {
    $(id).addEventListener('keydown', (e) => {
      if (e.key === 'Enter' || e.key === ' ') { e.preventDefault(); $(id).querySelector('input').click(); }
    });
  }
  let depth = 0;
  const veil = $('dropVeil');
  window.addEventListener('dragenter', (e) => { e.preventDefault(); depth++; veil.hidden = false; });
  window.addEventListener('dragleave', () => { if (--depth <= 0) { depth = 0; veil.hidden = true; } });
  window.addEventListener('dragover', (e) => e.preventDefault());
  window.addEventListener('drop', async (e) => {
    e.preventDefault();
    depth = 0;
    veil.hidden = true;
    await install(await readDropped(e.dataTransfer));
  });
  $('cbSkin').addEventListener('change', updateForgetButton);
  $('forgetSkin').addEventListener('click', async () => {
    const skin = page.skins.find((s) => s.ini === $('cbSkin').value);
    if (!skin) return;
    await page.shelf.forget(skin.id);
    page.skins = page.skins.filter((s) => s.id !== skin.id);
    fillMenu('');
    message('');
  });
}

// --- The first frame, as the desktop composes it ---------------------------
// The built-in handheld with the sprites lit that a new game window shows,
// at one device pixel per game pixel: what tests compare with the desktop's.
page.firstFrame = () => {
  const game = new page.module.Game('/builtin/sounds');
  const bg = game.sprite(0);
  const canvas = document.createElement('canvas');
  canvas.width = bg.width + 8;
  canvas.height = bg.height + 34;
  const base = page.handheld.basePictures;
  compose(canvas.getContext('2d'), 1, game.lit(), (i) => {
    const box = game.sprite(i);
    return {image: base[i].image, from: base[i], width: base[i].width, height: base[i].height, smooth: false, box};
  });
  game.delete();
  return canvas;
};

// --- Boot ------------------------------------------------------------------
// How long the page loads before it says so.
const kLoadingLineDelayMs = 500;
// How long a link to #play waits for the handheld's first frame before it
// sets up the rest of the page all the same.
const kFirstFrameWaitMs = 1000;
// The largest file unpacked: far more than the handheld's pictures or sounds.
const kLargestUnpackedBytes = 64 << 20;

// The body of one of the page's own .gz files, unpacked. response: its
// fetch() or the promise of one. Plain static servers send files as they
// are, so the build compresses the large ones itself; a server that marks
// .gz files as gzip-encoded has had the browser unpack it already.
async function unpacked(response, name) {
  response = await response;
  if (!response.ok) throw new Error(`${name}: ${response.status} ${response.statusText}`);
  const packed = new Uint8Array(await response.arrayBuffer());
  if (packed[0] !== 0x1f || packed[1] !== 0x8b) return packed;
  if (typeof DecompressionStream !== 'function') {
    const {gunzipSync} = await import('../vendor/fflate.js');
    return gunzipSync(packed);
  }
  const reader = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip')).getReader();
  const chunks = [];
  let length = 0;
  for (let read = await reader.read(); !read.done; read = await reader.read()) {
    length += read.value.length;
    if (length > kLargestUnpackedBytes) {
      reader.cancel();
      throw new Error(`${name}: unpacks to more than ${kLargestUnpackedBytes} bytes`);
    }
    chunks.push(read.value);
  }
  const bytes = new Uint8Array(length);
  let at = 0;
  for (const chunk of chunks) { bytes.set(chunk, at); at += chunk.length; }
  return bytes;
}

// The built-in waves, in the effects' order, from builtin/sounds.bin.gz (the
// eight RIFF files one after the other).
async function builtinWaves(response) {
  const bytes = await unpacked(response, 'builtin/sounds.bin.gz');
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const waves = [];
  for (let at = 0; at < bytes.length;) {
    const riff = at + 8 <= bytes.length && view.getUint32(at, false) === 0x52494646;  // "RIFF"
    const end = riff ? at + 8 + view.getUint32(at + 4, true) : Infinity;
    if (end > bytes.length) throw new Error(`builtin/sounds.bin.gz: no whole wave at byte ${at}`);
    waves.push(bytes.subarray(at, end));
    at = end;
  }
  if (waves.length !== kEffectNames.length)
    throw new Error(`builtin/sounds.bin.gz: ${waves.length} waves for ${kEffectNames.length} effects`);
  return waves;
}

// The game's module, from the WebAssembly that index.html began to compile
// while the page's scripts loaded (compiled here when that did not start or failed).
async function createModule(compiling) {
  const url = (path) => new URL(`../${path}`, import.meta.url).href;
  let failed;
  const failure = new Promise((_, reject) => { failed = reject; });
  const instantiateWasm = (imports, receive) => {
    (compiling || Promise.reject(new Error('not started')))
      .catch(async () => WebAssembly.compile(await (await fetchOk(url('pellox.wasm'))).arrayBuffer()))
      .then(async (module) => receive(await WebAssembly.instantiate(module, imports), module))
      .catch(failed);
    return {};
  };
  return Promise.race([createPellox({locateFile: url, instantiateWasm}), failure]);
}

async function boot() {
  // Said only when the game is slow to come: a quick load goes straight to
  // the handheld without a line of text flashing first (nor the font it needs).
  page.loadingLine = setTimeout(() => {
    $('loading').textContent = kStrings[navigator.language?.startsWith('ru') ? 'su' : 'gb'].loading;
  }, kLoadingLineDelayMs);
  // The waves come and the pictures are decoded while the module compiles.
  const early = window.pelloxEarly || {};
  const pictures = decodeBuiltinSheet(early.sheet || decodeSheetPicture(fetch('builtin/sprites.png')),
                                      early.boxes || fetch('builtin/sprites.json'));
  pictures.catch(() => {});  // reported where it is awaited
  const waves = builtinWaves(early.waves || fetch('builtin/sounds.bin.gz'));
  page.module = await createModule(early.wasm);
  performance.mark('pellox-module');
  const FS = page.module.FS;
  FS.mkdir('/builtin');
  FS.mkdir('/builtin/sounds');
  FS.mkdir('/skins');
  FS.mkdir('/skins/shipped');
  (await waves).forEach((bytes, i) => FS.writeFile(`/builtin/sounds/${kEffectNames[i]}.wav`, bytes));
  page.builtinTitles = page.module.builtinMenuTitles();
  takeSharedTexts(page.module);
  const layout = JSON.parse(page.module.layoutJson());
  page.sound = new Sound();
  page.storageWorks = storageWorks();
  page.handheld = new Handheld({
    module: page.module, canvas: $('lcd'), sound: page.sound, layout,
    russian: () => page.language === 'su',
    onExit: showStart,
    onReport: (text) => {
      if (text.startsWith('Failed to set data') || text.startsWith('Failed to create key')) {
        showStorageLine(t().storageFailed(text.replace(/^[^:]*: /, '')));
      } else {
        $('playLine').textContent = text;
      }
    },
    onTitle: (title) => { document.title = title.trim() || 'Pellox'; },
  });
  page.shelf = new SkinShelf(page.module);
  const playing = location.hash === '#play';
  page.language = startLanguage();
  if (playing) {
    // The game starts while the pictures may still be decoding, and what
    // the handheld does not show (the start section's texts, the skins)
    // waits until it is drawn, so that none of it holds up the first frame.
    clearTimeout(page.loadingLine);
    $('loading').hidden = true;
    showPlay();
    page.handheld.launchBuiltin();
  }
  await page.handheld.loadPictures(pictures);
  performance.mark('pellox-pictures');
  if (playing) await page.handheld.firstDrawn(kFirstFrameWaitMs);
  await setLanguage(page.language, false);
  listenForSkins();
  $('langSU').addEventListener('click', () => setLanguage('su', true));
  $('langGB').addEventListener('click', () => setLanguage('gb', true));
  $('btStart').addEventListener('click', () => start());
  document.addEventListener('visibilitychange', () => page.handheld.pageShown(!document.hidden));
  window.addEventListener('hashchange', () => {
    if (location.hash === '#play' && $('play').hidden) { $('cbSkin').value = ''; start(); }
  });
  const shippedList = await fetch('skins.json').then((r) => (r.ok ? r.json() : [])).catch(() => []);
  const skins = [...await page.shelf.shipped(shippedList), ...await page.shelf.restore()];
  page.skins.push(...skins);
  fillMenu($('cbSkin').value);
  if (!page.shelf.storable && page.storageWorks) showStorageLine(t().skinStoreFailed);
  clearTimeout(page.loadingLine);
  $('loading').hidden = true;
  if (!playing) {
    $('start').hidden = false;
    $('btStart').focus({preventScroll: true});
  }
  page.ready = true;
  if ('serviceWorker' in navigator && location.protocol !== 'file:') {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
}

boot().catch((error) => {
  clearTimeout(page.loadingLine);
  // A link to #play may have started the game before what failed.
  if (page.handheld) page.handheld.stop();
  $('play').hidden = true;
  const line = $('loading');
  line.hidden = false;
  line.textContent = kStrings.gb.failedToLoad + (error && error.message ? error.message : String(error));
});
