// How the page's benchmarks time a cold first frame and a key to the frame
// showing the pose: shared by page_bench.mjs (one page's figures) and
// ab_bench.mjs (two builds of the page, measured in turns).

import {launchBrowser, closeBrowser, waitReady} from '../../tests/web/browser/harness.mjs';

export const quantile = (xs, q) => { const s = [...xs].sort((a, b) => a - b); return s[Math.min(s.length - 1, Math.floor(q * s.length))]; };
export const round = (x, d = 1) => Number(x.toFixed(d));
export const stats = (xs) => (xs.length ? {n: xs.length, p50: round(quantile(xs, 0.5)), p99: round(quantile(xs, 0.99)), max: round(Math.max(...xs))} : {n: 0});

// A cold load of base#play (new browser, new profile): performance.now(),
// from the navigation's start, when the canvas is first drawn.
// beforeLoad(page), afterLoad(page): called before the load (to watch its
// responses) and after the first frame, before the browser closes.
export async function coldFirstFrame(base, {beforeLoad = async () => {}, afterLoad = async () => {}} = {}) {
  const browser = await launchBrowser();
  try {
    const page = await browser.newPage();
    await page.setViewport({width: 1000, height: 720});
    await beforeLoad(page);
    await page.goto(`${base}#play`);
    await waitReady(page);
    await page.waitForFunction(() => window.pelloxPage.handheld.drawnAt > 0);
    const first = await page.evaluate(() => window.pelloxPage.handheld.firstDrawnAt);
    await afterLoad(page);
    return first;
  } finally {
    await closeBrowser(browser);
  }
}

// In a page showing the handheld: Game A (again whenever a game ends), then
// a key to another chute every 150 to 400 ms, count times. For each key, the
// time from just before it to the animation frame that shows the new pose
// (drawn in a frame's callback: that frame; drawn at the key: the first
// frame after it); keys during a step's sound apart, and the time to the
// canvas drawn.
export function keyToPose(page, count) {
  return page.evaluate(async (count) => {
    const {handheld} = window.pelloxPage;
    const press = (code, type) => window.dispatchEvent(new KeyboardEvent(type, {code, key: code.slice(-1).toLowerCase()}));
    const between = [], during = [], drawn = [];
    const codes = ['KeyW', 'KeyO', 'KeyD', 'KeyK'];
    while (between.length + during.length < count) {
      if (handheld.game.mode() !== 1) {
        press('Digit1', 'keydown'); await new Promise((r) => setTimeout(r, 60)); press('Digit1', 'keyup');
        await new Promise((r) => setTimeout(r, 300));
        if (handheld.game.mode() !== 1) continue;
      }
      await new Promise((r) => setTimeout(r, 150 + Math.random() * 250));
      if (handheld.game.mode() !== 1) continue;
      const from = handheld.game.wolfPos();
      const to = (from + 1 + Math.floor(Math.random() * 3)) % 4;
      const waiting = handheld.busyUntil > 0;
      const start = performance.now();
      press(codes[to], 'keydown');
      const shownAt = await new Promise((resolve) => {
        const check = () => {
          if (handheld.game.wolfPos() === to && handheld.drawnAt > start && !handheld.busyUntil)
            resolve(handheld.drawnInFrame ? handheld.drawnAt : performance.now());
          else requestAnimationFrame(check);
        };
        requestAnimationFrame(check);
      });
      (waiting ? during : between).push(shownAt - start);
      if (!waiting) drawn.push(handheld.drawnAt - start);
    }
    return {between, during, drawn};
  }, count);
}
