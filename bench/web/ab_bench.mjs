// Two builds of the page side by side, in turns, so that the load of a
// shared machine falls on both alike: cold first frames (one load of each in
// turn) and keys to the frame showing the pose (50 keys on each in turn,
// both pages open in one browser, the measured one in front).
// Usage: node ab_bench.mjs SITE_A SITE_B [LOADS [KEYS]]   (defaults 15, 300)
// Keep SITE_A, a build to compare with, by copying build-web/site elsewhere.

import os from 'node:os';
import path from 'node:path';
import {serve, launchBrowser, closeBrowser, waitReady} from '../../tests/web/browser/harness.mjs';
import {coldFirstFrame, keyToPose, quantile, round, stats} from './page_measures.mjs';

const [siteA, siteB] = process.argv.slice(2, 4).map((p) => path.resolve(p));
const loads = Number(process.argv[4] || 15);
const keys = Number(process.argv[5] || 300);
const sites = [siteA, siteB];
const servers = await Promise.all(sites.map((site) => serve(site)));
const bases = servers.map((s) => `http://127.0.0.1:${s.address().port}/`);
const load = () => os.loadavg()[0];
const loadSeen = [load()];

const firsts = sites.map(() => []);
for (let i = 0; i < loads; ++i) {
  for (let k = 0; k < sites.length; ++k) firsts[k].push(await coldFirstFrame(bases[k]));
  loadSeen.push(load());
}

const browser = await launchBrowser();
const pages = [];
for (const base of bases) {
  const page = await browser.newPage();
  await page.setViewport({width: 1000, height: 720});
  await page.goto(`${base}#play`);
  await waitReady(page);
  pages.push(page);
}
const latency = sites.map(() => ({between: [], during: [], drawn: []}));
for (let done = 0; done < keys; done += 50) {
  for (let k = 0; k < pages.length; ++k) {
    await pages[k].bringToFront();
    const got = await keyToPose(pages[k], Math.min(50, keys - done));
    for (const part of ['between', 'during', 'drawn']) latency[k][part].push(...got[part]);
  }
  loadSeen.push(load());
}
await closeBrowser(browser);
for (const server of servers) { server.close(); server.closeAllConnections(); }

const report = {load_average: {min: round(Math.min(...loadSeen), 2), max: round(Math.max(...loadSeen), 2)}};
sites.forEach((site, k) => {
  report[k === 0 ? 'a' : 'b'] = {
    site,
    first_frame_ms: {median: round(quantile(firsts[k], 0.5)), max: round(Math.max(...firsts[k])), loads: firsts[k].length},
    key_to_pose_ms: {between_ticks: stats(latency[k].between), during_step_sound: stats(latency[k].during),
                     canvas_drawn_between_ticks: stats(latency[k].drawn)},
  };
});
// The loads of each turn compared: how often B's first frame came sooner.
report.b_first_frame_sooner_in_turns = `${firsts[1].filter((b, i) => b < firsts[0][i]).length} of ${loads}`;
console.log(JSON.stringify(report, null, 2));
