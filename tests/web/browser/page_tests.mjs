// The page in headless Chromium: the first frame against the desktop's golden
// picture, games played with keys (a Latin and a Russian layout) and by
// touch, scores kept after a reload, skins dropped and refused, and the page
// without a network. Usage: node page_tests.mjs SITE_DIR GOLDEN_DIR PELLOX_BINARY

import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {execFileSync} from 'node:child_process';
import {zipSync, strToU8} from 'fflate';
import {serve, launchBrowser, closeBrowser, openPage, waitReady, waitFor, sleep, run, assert} from './harness.mjs';

const [site, goldenDir, pelloxBinary] = process.argv.slice(2).map((p) => path.resolve(p));
const kPlaying = 1, kGameOver = 4;
const kRussian = {KeyW: 'ц', KeyO: 'щ', KeyD: 'в', KeyK: 'л'};
const kCodes = ['KeyW', 'KeyO', 'KeyD', 'KeyK'];  // positions UL, UR, DL, DR

const server = await serve(site, {'/__golden/': goldenDir});
const base = `http://127.0.0.1:${server.address().port}/`;
const browser = await launchBrowser();

// The chute whose egg is nearest its mouth (step 4 or 5), or null.
async function chuteToCatch(page) {
  return page.evaluate(() => {
    const {handheld} = window.pelloxPage;
    const game = handheld.game;
    const lit = game.lit();
    const names = ['UL', 'UR', 'DL', 'DR'];
    for (const step of [5, 4]) {
      for (let c = 0; c < 4; ++c) {
        if (lit[handheld.index.get(`imEgg${names[c]}${step}`)] === '1')
          return game.wolfPos() === c ? -1 : c;
      }
    }
    return -1;
  });
}

const state = (page) => page.evaluate(() => {
  const g = window.pelloxPage.handheld.game;
  return {mode: g.mode(), score: g.score(), recordA: g.recordA()};
});

// Plays until the score reaches at least target, turning the wolf with press.
async function catchUntil(page, target, press, timeoutMs = 60000) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const s = await state(page);
    if (s.score >= target) return s.score;
    assert(s.mode === kPlaying, `the game ended at ${s.score} before ${target} points`);
    assert(Date.now() < end, `only ${s.score} points after ${timeoutMs} ms`);
    const chute = await chuteToCatch(page);
    if (chute >= 0) await press(chute);
    await sleep(15);
  }
}

async function startBuiltin(page) {
  await page.select('#cbSkin', '');
  await page.click('#btStart');
  await waitFor(page, () => !document.getElementById('play').hidden);
}

// Game A by the keyboard's 1, held and let go as the case's button.
async function startGameA(page) {
  await page.keyboard.down('Digit1');
  await sleep(50);
  await page.keyboard.up('Digit1');
  await waitFor(page, (playing) => window.pelloxPage.handheld.game.mode() === playing, kPlaying);
}

const tests = [];
const test = (name, fn) => tests.push([name, fn]);

test('the first frame at scale 1 is the desktop\'s golden first frame, pixel for pixel', async () => {
  const page = await openPage(browser, base);
  const result = await page.evaluate(async () => {
    const frame = window.pelloxPage.firstFrame();
    const golden = await createImageBitmap(await (await fetch('/__golden/first_frame.png')).blob(),
                                           {colorSpaceConversion: 'none', premultiplyAlpha: 'none'});
    if (golden.width !== frame.width || golden.height !== frame.height)
      return {size: `${frame.width}x${frame.height} against ${golden.width}x${golden.height}`};
    const g = new OffscreenCanvas(golden.width, golden.height).getContext('2d');
    g.drawImage(golden, 0, 0);
    const want = g.getImageData(0, 0, golden.width, golden.height).data;
    const got = frame.getContext('2d').getImageData(0, 0, frame.width, frame.height).data;
    let differing = 0, first = '';
    for (let i = 0; i < want.length; i += 4) {
      // The desktop's see-through purple is the page's transparent pixel.
      const hole = want[i] === 128 && want[i + 1] === 0 && want[i + 2] === 128;
      const same = hole ? got[i + 3] === 0
                        : got[i + 3] === 255 && got[i] === want[i] && got[i + 1] === want[i + 1] && got[i + 2] === want[i + 2];
      if (!same) {
        if (!differing) first = `at ${(i / 4) % frame.width},${Math.floor(i / 4 / frame.width)}: ` +
                                `${got.slice(i, i + 4).join(',')} against ${want.slice(i, i + 4).join(',')}`;
        ++differing;
      }
    }
    return {differing, first};
  });
  assert(!result.size, `the frame is ${result.size}`);
  assert(result.differing === 0, `${result.differing} pixels differ, the first ${result.first}`);
  assert(page.errors.length === 0, page.errors.join('; '));
  await page.browserContext().close();
});

test('on a phone the start section opens at its top, the start button holding the focus for Enter', async () => {
  const page = await openPage(browser, base, {viewport: {width: 360, height: 640}, touch: true});
  const [scrolled, focused] = await page.evaluate(() => [window.scrollY, document.activeElement && document.activeElement.id]);
  assert(scrolled === 0, `the page opened scrolled down by ${scrolled} px, past the title and the flags`);
  assert(focused === 'btStart', `the focus is on "${focused}"`);
  await page.browserContext().close();
});

test('a game played with keys, on a Latin and on a Russian layout, catches eggs and its score is kept after a reload', async () => {
  const page = await openPage(browser, base);
  await startBuiltin(page);
  await startGameA(page);
  // Latin keys, as the keyboard sends them.
  const latin = await catchUntil(page, 2, (c) => page.keyboard.press(kCodes[c]));
  // A Russian layout: the same places type ц, щ, в, л.
  const russian = await catchUntil(page, latin + 2, (c) => page.evaluate((code, key) => {
    for (const type of ['keydown', 'keyup']) window.dispatchEvent(new KeyboardEvent(type, {code, key, bubbles: true}));
  }, kCodes[c], kRussian[kCodes[c]]));
  assert(russian >= latin + 2, 'keys of the Russian layout caught nothing');
  // Only what changed is drawn again: the canvas must still be the whole frame.
  const differing = await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => {
    const {handheld} = window.pelloxPage;
    const pixels = (c) => c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    const shown = pixels(handheld.canvas), whole = pixels(handheld.fullFrame());
    let n = 0;
    for (let i = 0; i < shown.length; ++i) n += shown[i] !== whole[i];
    resolve(n);
  })));
  assert(differing === 0, `${differing} bytes of the canvas differ from the frame composed whole`);
  // No more catching: three misses end the game and store its score.
  await waitFor(page, (over) => window.pelloxPage.handheld.game.mode() === over, kGameOver, 90000);
  const ended = await state(page);
  assert(ended.recordA === ended.score && ended.score >= 4, `record ${ended.recordA} after a game of ${ended.score}`);
  await page.reload();
  await waitReady(page);
  await startBuiltin(page);
  const after = await state(page);
  assert(after.recordA === ended.score, `after a reload the record is ${after.recordA}, not ${ended.score}`);
  assert(page.errors.length === 0, page.errors.join('; '));
  await page.browserContext().close();
});

test('a touch game: the case\'s button and the LCD\'s quarters are tap targets, and nothing scrolls', async () => {
  const page = await openPage(browser, `${base}#play`, {viewport: {width: 915, height: 412}, touch: true});
  const point = (x, y) => page.evaluate((gx, gy) => {
    const {handheld} = window.pelloxPage;
    const r = handheld.canvas.getBoundingClientRect();
    return {x: r.left + gx * handheld.cssScale, y: r.top + gy * handheld.cssScale};
  }, x, y);
  const buttonA = await page.evaluate(() => {
    const {handheld} = window.pelloxPage;
    const b = handheld.game.sprite(handheld.index.get('imButtA'));
    return {x: b.left + b.width / 2, y: b.top + b.height / 2};
  });
  const a = await point(buttonA.x, buttonA.y);
  await page.touchscreen.tap(a.x, a.y);
  await waitFor(page, (playing) => window.pelloxPage.handheld.game.mode() === playing, kPlaying);
  const quarters = await page.evaluate(() => {
    const box = window.pelloxPage.handheld.lcdBox();
    const x = [box.left + (box.right - box.left) / 4, box.right - (box.right - box.left) / 4];
    const y = [box.top + (box.bottom - box.top) / 4, box.bottom - (box.bottom - box.top) / 4];
    return [[x[0], y[0]], [x[1], y[0]], [x[0], y[1]], [x[1], y[1]]];
  });
  await catchUntil(page, 2, async (c) => {
    const p = await point(...quarters[c]);
    await page.touchscreen.tap(p.x, p.y);
  });
  await page.touchscreen.touchStart(200, 300);
  await page.touchscreen.touchMove(200, 100);
  await page.touchscreen.touchEnd();
  const scrolled = await page.evaluate(() => [window.scrollX, window.scrollY, visualViewport.scale]);
  assert(scrolled[0] === 0 && scrolled[1] === 0 && scrolled[2] === 1, `the page moved: ${scrolled}`);
  assert(page.errors.length === 0, page.errors.join('; '));
  await page.browserContext().close();
});

test('a gamepad plays with the desktop\'s mapping: Start is Game A, the D-pad and the face buttons turn the wolf', async () => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    // A standard-layout pad the test presses by setting its buttons.
    const buttons = Array.from({length: 17}, () => ({pressed: false, value: 0}));
    window.testPad = {index: 0, id: 'test pad', mapping: 'standard', connected: true, buttons, axes: [0, 0, 0, 0]};
    navigator.getGamepads = () => [window.testPad];
  });
  await page.goto(`${base}#play`);
  await waitReady(page);
  const hold = (button, pressed) => page.evaluate((b, p) => { window.testPad.buttons[b].pressed = p; }, button, pressed);
  await page.evaluate(() => window.dispatchEvent(Object.assign(new Event('gamepadconnected'), {gamepad: window.testPad})));
  await hold(9, true);  // Start
  await sleep(150);
  await hold(9, false);
  await waitFor(page, (playing) => window.pelloxPage.handheld.game.mode() === playing, kPlaying, 5000);
  // The wolf starts at the lower left: each button moves him elsewhere.
  for (const [button, position] of [[3, 1], [13, 2], [0, 3], [12, 0]]) {  // north, down, south, up
    await hold(button, true);
    await waitFor(page, (p) => window.pelloxPage.handheld.game.wolfPos() === p, position, 5000);
    await hold(button, false);
    await sleep(50);
  }
  await context.close();
});

test('a picture sheet that cannot be read leaves a link to #play with a clear line and no game running', async () => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setRequestInterception(true);
  page.on('request', (request) => {
    if (request.url().endsWith('/builtin/sprites.png')) request.respond({status: 200, contentType: 'image/png', body: 'not a png'});
    else request.continue();
  });
  await page.goto(`${base}#play`);
  await waitFor(page, () => document.getElementById('loading').textContent.includes('sprites.png'), undefined, 20000);
  const [line, playHidden, running] = await page.evaluate(() => [document.getElementById('loading').textContent,
    document.getElementById('play').hidden, !!(window.pelloxPage.handheld && window.pelloxPage.handheld.running)]);
  assert(line.startsWith('The game could not load: builtin/sprites.png'), `the page says: ${line}`);
  assert(playHidden && !running, 'the game runs behind the failure');
  await context.close();
});

test('a browser that refuses the storage gets a clear line, and the game plays', async () => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    Storage.prototype.setItem = () => { throw new DOMException('The quota has been exceeded.', 'QuotaExceededError'); };
  });
  await page.goto(`${base}#play`);
  await waitReady(page);
  const line = await page.$eval('#storageLine', (e) => (e.hidden ? '' : e.textContent));
  assert(line.includes('scores are kept only until the page is closed'), `the line says: ${line}`);
  await waitFor(page, () => window.pelloxPage.handheld.running && window.pelloxPage.handheld.drawnAt > 0);
  await context.close();
});

// Bytes of a zip dropped on the page as a file named name.
async function drop(page, name, bytes) {
  await page.evaluate(async (fileName, base64) => {
    const data = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    const transfer = new DataTransfer();
    transfer.items.add(new File([data], fileName, {type: 'application/zip'}));
    window.dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true, cancelable: true}));
  }, name, Buffer.from(bytes).toString('base64'));
}

// The built-in game exported by the desktop (--export-skin), its files by
// their paths under prefix.
function exportedSkin(prefix) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'pellox-export-'));
  fs.rmSync(folder, {recursive: true});
  execFileSync(pelloxBinary, ['--export-skin', folder], {env: {...process.env, QT_QPA_PLATFORM: 'offscreen'}});
  const files = {};
  const walk = (dir, at) => {
    for (const entry of fs.readdirSync(dir, {withFileTypes: true})) {
      const full = path.join(dir, entry.name);
      if (entry.isDirectory()) walk(full, `${at}${entry.name}/`);
      else files[`${at}${entry.name}`] = new Uint8Array(fs.readFileSync(full));
    }
  };
  walk(folder, prefix);
  fs.rmSync(folder, {recursive: true, force: true});
  return files;
}

// The exported skin in a zip, its background's red and blue swapped.
function recolouredSkinZip() {
  const files = exportedSkin('Blue Night/');
  const iniName = Object.keys(files).find((f) => f.endsWith('.ini'));
  const ini = Buffer.from(files[iniName]).toString('utf8').replace(/^title\s*=[^\r\n]*/m, 'title=Синий Кестров')
    .replace(/^titleGB\s*=[^\r\n]*/m, 'titleGB=Blue Kestrow');
  files[iniName] = strToU8(ini);
  const bmpName = Object.keys(files).find((f) => /imBckgrnd\.bmp$/i.test(f));
  const bmp = files[bmpName];
  const view = new DataView(bmp.buffer, bmp.byteOffset);
  const offset = view.getUint32(10, true);
  const width = view.getInt32(18, true), height = Math.abs(view.getInt32(22, true));
  assert(view.getUint16(28, true) === 24, 'the exported background is no 24-bit bitmap');
  const stride = Math.ceil(width * 3 / 4) * 4;
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const at = offset + y * stride + x * 3;  // blue, green, red
      [bmp[at], bmp[at + 2]] = [bmp[at + 2], bmp[at]];
    }
  }
  return zipSync(files);
}

test('a skin zip made from --export-skin with a recoloured picture is dropped, listed, launched and seen, and listed again next time', async () => {
  const page = await openPage(browser, base);
  await drop(page, 'blue-night.zip', recolouredSkinZip());
  await waitFor(page, () => !document.getElementById('skinMessage').hidden &&
                            !document.getElementById('skinMessage').textContent.startsWith('Installing'));
  const message = await page.$eval('#skinMessage', (e) => e.textContent);
  assert(message.includes('Installed: Blue Kestrow'), `the page says: ${message}`);
  await page.reload();
  await waitReady(page);
  const value = await page.evaluate(() => [...document.querySelectorAll('#cbSkin option')].find((o) => o.text === 'Blue Kestrow')?.value);
  assert(value, 'the skin is not listed after a reload');
  await page.select('#cbSkin', value);
  await page.click('#btStart');
  await waitFor(page, () => !document.getElementById('play').hidden);
  await sleep(300);
  // A point of the case: the skin's picture with red and blue swapped.
  const [seen, builtin] = await page.evaluate(() => {
    const at = (canvas, x, y) => [...canvas.getContext('2d').getImageData(x, y, 1, 1).data];
    return [at(document.getElementById('lcd'), 60, 300), at(window.pelloxPage.firstFrame(), 60, 300)];
  });
  assert(seen[0] === builtin[2] && seen[1] === builtin[1] && seen[2] === builtin[0] && seen[0] !== seen[2],
         `the case shows ${seen}, the built-in one ${builtin}`);
  assert(page.errors.length === 0, page.errors.join('; '));
  await page.browserContext().close();
});

test('a skin\'s .ini picked with its files (no archive) is listed and launched, a missing picture named with its reason', async () => {
  const page = await openPage(browser, base);
  // The exported skin with every file beside its .ini.
  const files = exportedSkin('');
  const flat = new Map();
  for (const [name, bytes] of Object.entries(files)) flat.set(path.basename(name), bytes);
  const iniName = [...flat.keys()].find((f) => f.endsWith('.ini'));
  const ini = Buffer.from(flat.get(iniName)).toString('utf8').replace(/(pictures|sounds)\//g, '')
    .replace(/^titleGB\s*=[^\r\n]*/m, 'titleGB=Loose Kestrow');
  flat.set(iniName, strToU8(ini));
  const pick = async (entries) => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'pellox-loose-'));
    const paths = entries.map(([name, bytes]) => { const p = path.join(folder, name); fs.writeFileSync(p, bytes); return p; });
    await (await page.$('#pickFiles')).uploadFile(...paths);
    await waitFor(page, () => !document.getElementById('skinMessage').hidden &&
                              !document.getElementById('skinMessage').textContent.startsWith('Installing'));
    fs.rmSync(folder, {recursive: true, force: true});
    return page.$eval('#skinMessage', (e) => e.textContent);
  };
  const installed = await pick([...flat]);
  assert(installed.includes('Installed: Loose Kestrow'), `the page says: ${installed}`);
  await page.click('#btStart');
  await waitFor(page, () => !document.getElementById('play').hidden);
  // Without its background the same skin does not start, and says which entry and why.
  await page.keyboard.press('Escape');
  flat.delete('imBckgrnd.bmp');
  flat.set(iniName, strToU8(ini.replace('Loose Kestrow', 'Broken Kestrow')));
  await pick([...flat]);
  await page.select('#cbSkin', await page.$$eval('#cbSkin option', (o) => o.find((x) => x.text === 'Broken Kestrow').value));
  await page.click('#btStart');
  await waitFor(page, () => document.getElementById('skinMessage').textContent.includes('could not be loaded'));
  const failed = await page.$eval('#skinMessage', (e) => e.textContent);
  // The skin's files named as the player picked them, not by the page's own folders.
  assert(failed.includes(`${iniName}: [BACK] ground: no such file: no "imBckgrnd.bmp" in "./"`) &&
         !failed.includes('/skins/'), `the page says: ${failed}`);
  assert(page.errors.length === 0, page.errors.join('; '));
  await page.browserContext().close();
});

test('hostile zips are refused and a broken skin fails with the reader\'s reason, in the page\'s language', async () => {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => localStorage.setItem('pellox.language', 'su'));
  await page.setViewport({width: 1000, height: 720});
  await page.goto(base);
  await waitReady(page);
  const skin = strToU8('[SETTINGS]\nver=1.8\ntitle=Evil\n');
  const cases = [
    ['escape.zip', zipSync({'../evil/evil.ini': skin}), 'оказалась бы за пределами папки скина'],
    ['bomb.zip', zipSync({'bomb/skin.ini': skin, 'bomb/zeros.bmp': new Uint8Array(20 << 20)}, {level: 9}),
     'раз превышающий его размер'],
  ];
  for (const [name, bytes, reason] of cases) {
    await drop(page, name, bytes);
    await waitFor(page, () => !document.getElementById('skinMessage').hidden &&
                              !document.getElementById('skinMessage').textContent.startsWith('Установка'));
    const message = await page.$eval('#skinMessage', (e) => e.textContent);
    assert(message.includes('Скин не установился') && message.includes(`«${name}»`) && message.includes(reason),
           `for ${name} the page says: ${message}`);
  }
  const listed = await page.$$eval('#cbSkin option', (options) => options.map((o) => o.text));
  assert(!listed.includes('Evil'), 'a refused skin is listed');
  // A skin that installs but whose background is missing does not start, and
  // says why in Russian as the desktop's box does.
  await drop(page, 'broken.zip', zipSync({'broken/broken.ini':
    strToU8('[SETTINGS]\nver=1.8\ntitle=Сломанный\ntitleGB=Broken\n[BACK]\nground=0,0,875,532,missing.bmp\n')}));
  await waitFor(page, () => document.getElementById('skinMessage').textContent.includes('Установлено'));
  await page.select('#cbSkin', await page.$$eval('#cbSkin option', (o) => o.find((x) => x.text === 'Сломанный').value));
  await page.click('#btStart');
  await waitFor(page, () => document.getElementById('skinMessage').textContent.includes('Не загрузилось'));
  const failed = await page.$eval('#skinMessage', (e) => e.textContent);
  assert(failed.includes('broken/broken.ini: [BACK] ground: нет такого файла: в "broken.zip" нет "missing.bmp"; ' +
                         'рядом с файлом скина: нет такого файла: в "broken/" нет "missing.bmp"') &&
         !failed.includes('no such file') && !failed.includes('/skins/'), `the page says: ${failed}`);
  await context.close();
});

test('after the first visit the page starts and plays without a network', async () => {
  const own = await serve(site);
  const url = `http://127.0.0.1:${own.address().port}/`;
  const page = await openPage(browser, url);
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    const files = await (await fetch('files.json')).json();
    const cache = await caches.open('pellox-page');
    for (let i = 0; i < 100 && (await cache.keys()).length < files.length; ++i) await new Promise((r) => setTimeout(r, 100));
  });
  await new Promise((resolve) => own.close(resolve));
  own.closeAllConnections();
  await page.goto(`${url}#play`);
  await waitReady(page);
  await waitFor(page, () => window.pelloxPage.handheld.running && window.pelloxPage.handheld.drawnAt > 0);
  const text = await page.$eval('#cbSkin', (e) => e.options[0].text);
  assert(text.includes('Kestrow'), `the menu offers ${text}`);
  assert(page.errors.length === 0, page.errors.join('; '));
  await page.browserContext().close();
});

const failed = await run(tests);
await closeBrowser(browser);
server.close();
server.closeAllConnections();
process.exit(failed ? 1 : 0);
