// The page's figures in one run, on a local server with Debian's Chromium:
//   - the engine's tick: native, WebAssembly under Node, WebAssembly in Chromium
//   - the first frame from a cold load (a fresh profile each time)
//   - the bytes the page loads for #play without the handheld's pictures, gzip -9
//   - key to new pose on the canvas: performance.now() at the key to the frame
//     (requestAnimationFrame) that draws the wolf's new pose
//   - the demo idle in a visible tab (CPU), and timers firing in a hidden tab
// Usage: node page_bench.mjs SITE NATIVE_TICK_BENCH WASM_TICK_BENCH_DIR

import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import {serve, launchBrowser, closeBrowser, waitReady, sleep} from '../../tests/web/browser/harness.mjs';
import {coldFirstFrame, keyToPose, quantile, round, stats} from './page_measures.mjs';

const [site, nativeTick, wasmDir] = process.argv.slice(2).map((p) => path.resolve(p));
const server = await serve(site, {'/__bench/': wasmDir});
const base = `http://127.0.0.1:${server.address().port}/`;
const results = {};

// --- The tick ----------------------------------------------------------------
// The three builds take turns, five rounds of nine runs each, so that the
// load of the shared machine falls on all of them alike; the figure of each
// is the median of its rounds' medians.
const runs = '9';
const parse = (text) => JSON.parse(text.trim().split('\n').pop());
let browser = await launchBrowser();
let page = await browser.newPage();
await page.goto(`${base}index.html`);
await page.evaluate(async () => {
  const create = (await import('/__bench/tick_bench_page.mjs')).default;
  window.tickLines = [];
  window.tickBench = await create({print: (l) => window.tickLines.push(l)});
});
const rounds = {native: [], node: [], chromium: []};
for (let round = 0; round < 5; ++round) {
  rounds.native.push(parse(execFileSync(nativeTick, [runs], {encoding: 'utf8'})).median_ns_per_tick);
  rounds.node.push(parse(execFileSync('node', ['--no-experimental-fetch', path.join(wasmDir, 'tick_bench.js'), runs],
                                      {encoding: 'utf8'})).median_ns_per_tick);
  rounds.chromium.push(await page.evaluate((n) => {
    window.tickBench._RunTickBench(n);
    return JSON.parse(window.tickLines.pop()).median_ns_per_tick;
  }, Number(runs)));
}
await closeBrowser(browser);
const tick = Object.fromEntries(Object.entries(rounds).map(([k, v]) => [k, quantile(v, 0.5)]));
results.tick_ns = {...tick, rounds};
results.tick_ratio = {node: round(tick.node / tick.native, 2), chromium: round(tick.chromium / tick.native, 2)};

// --- Cold first frame and bytes ------------------------------------------------
const firstFrames = [];
let bytes = null;
// The first load only collects the bytes (reading every response slows the
// page); the next seven are timed.
for (let i = 0; i < 8; ++i) {
  const loaded = [];
  const first = await coldFirstFrame(base, {
    beforeLoad: async (page) => {
      if (i === 0) page.on('response', async (response) => {
        const url = new URL(response.url());
        if (url.origin + '/' !== base) return;
        try { loaded.push([url.pathname, await response.buffer()]); } catch { /* redirects */ }
      });
    },
    afterLoad: async () => { if (i === 0) await sleep(500); },
  });
  if (i > 0) firstFrames.push(first);
  if (!bytes) {
    let raw = 0, gz = 0, pictures = 0;
    const seen = new Set();
    for (const [file, body] of loaded) {
      if (seen.has(file)) continue;
      seen.add(file);
      if (file.startsWith('/builtin/sprites') || file.startsWith('/skins/')) { pictures += body.length; continue; }
      raw += body.length;
      gz += zlib.gzipSync(body, {level: 9}).length;
    }
    bytes = {files: seen.size, raw_kb: round(raw / 1024), gzip_kb: round(gz / 1024), handheld_pictures_kb: round(pictures / 1024)};
  }
}
results.first_frame_ms = {median: round(quantile(firstFrames, 0.5)), max: round(Math.max(...firstFrames)), loads: firstFrames.length};
results.page_bytes = bytes;

// --- Key to pose, idle CPU, hidden timers ------------------------------------
browser = await launchBrowser();
page = await browser.newPage();
await page.evaluateOnNewDocument(() => {
  // Every timer callback and animation frame, counted by when it ran.
  window.__fired = [];
  const wrap = (name) => {
    const original = window[name];
    window[name] = (fn, ...rest) => original((...a) => { window.__fired.push(performance.now()); return fn(...a); }, ...rest);
  };
  wrap('setTimeout'); wrap('setInterval'); wrap('requestAnimationFrame');
});
await page.setViewport({width: 1000, height: 720});
await page.goto(`${base}#play`);
await waitReady(page);
await sleep(1000);

// The demo, idle in a visible tab: main-thread task time over wall time.
const idleSeconds = 20;
const before = await page.metrics();
await sleep(idleSeconds * 1000);
const after = await page.metrics();
results.demo_idle_cpu_percent = round(100 * (after.TaskDuration - before.TaskDuration) / idleSeconds, 2);

// Key to pose: Game A, then 300 keys to another chute (page_measures.mjs).
const latency = await keyToPose(page, 300);
results.key_to_pose_ms = {between_ticks: stats(latency.between), during_step_sound: stats(latency.during),
                          canvas_drawn_between_ticks: stats(latency.drawn)};

// A hidden tab: another tab in front, then timers counted for 10 s.
await page.evaluate(() => { window.__fired = []; });
const other = await browser.newPage();
await other.goto('about:blank');
await other.bringToFront();
await sleep(500);
const hidden = await page.evaluate(() => document.visibilityState);
await page.evaluate(() => { window.__fired = []; });
await sleep(10000);
const fired = await page.evaluate(() => window.__fired);
const perSecond = new Map();
for (const t of fired) perSecond.set(Math.floor(t / 1000), (perSecond.get(Math.floor(t / 1000)) || 0) + 1);
results.hidden_tab = {visibility: hidden, timers_fired_in_10_s: fired.length, most_in_one_second: Math.max(0, ...perSecond.values())};
await closeBrowser(browser);
server.close();
server.closeAllConnections();
console.log(JSON.stringify(results, null, 2));
