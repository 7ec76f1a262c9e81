// What the browser tests share: a static server for the built page (and the
// desktop's golden pictures), Debian's Chromium driven by puppeteer-core with
// a fresh profile, and a small runner that prints each result and a closing
// line "N passed, N failed".

import http from 'node:http';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const kTypes = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.css': 'text/css', '.json': 'application/json', '.wasm': 'application/wasm', '.svg': 'image/svg+xml',
  '.png': 'image/png', '.bmp': 'image/bmp', '.wav': 'audio/wav', '.txt': 'text/plain; charset=utf-8',
  '.webmanifest': 'application/manifest+json', '.ini': 'text/plain',
};

// Serves root at /, and each of extra's folders at its own prefix.
export function serve(root, extra = {}) {
  const server = http.createServer((request, response) => {
    let url = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    let base = root;
    for (const [prefix, folder] of Object.entries(extra)) {
      if (url.startsWith(prefix)) { base = folder; url = url.slice(prefix.length - 1); }
    }
    if (url.endsWith('/')) url += 'index.html';
    const file = path.join(base, path.normalize(url));
    if (!file.startsWith(base)) { response.writeHead(403).end(); return; }
    fs.readFile(file, (error, data) => {
      if (error) { response.writeHead(404).end('not found'); return; }
      response.writeHead(200, {'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream',
                               'Cache-Control': 'no-cache'});
      response.end(data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

export async function launchBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'pellox-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.PELLOX_CHROMIUM || '/usr/bin/chromium',
    userDataDir: profile,
    headless: true,
    args: ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           '--autoplay-policy=no-user-gesture-required'],
  });
  browser.profile = profile;
  return browser;
}

export async function closeBrowser(browser) {
  await browser.close();
  fs.rmSync(browser.profile, {recursive: true, force: true});
}

// A page of a fresh incognito-like context, its errors collected.
export async function openPage(browser, url, {viewport = {width: 1000, height: 720}, touch = false} = {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(e.message));
  await page.setViewport({...viewport, deviceScaleFactor: viewport.deviceScaleFactor || 1, hasTouch: touch, isMobile: touch});
  await page.goto(url);
  await waitReady(page);
  return page;
}

export async function waitReady(page) {
  await page.waitForFunction(() => window.pelloxPage && window.pelloxPage.ready, {timeout: 20000});
}

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

export async function waitFor(page, fn, arg, timeout = 30000) {
  await page.waitForFunction(fn, {timeout, polling: 50}, arg);
}

export async function run(tests) {
  let passed = 0, failed = 0;
  const only = process.env.PELLOX_WEB_TEST;
  for (const [name, test] of tests) {
    if (only && !name.includes(only)) continue;
    const start = Date.now();
    try {
      await test();
      ++passed;
      console.log(`  ok      ${name} (${Date.now() - start} ms)`);
    } catch (error) {
      ++failed;
      console.log(`  FAILED  ${name} (${Date.now() - start} ms)\n          ${String(error && error.stack || error).split('\n').slice(0, 4).join('\n          ')}`);
    }
  }
  console.log(`web tests: ${passed} passed, ${failed} failed`);
  return failed;
}

export function assert(condition, message) {
  if (!condition) throw new Error(message);
}
