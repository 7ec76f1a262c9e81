// The handheld on the page: the engine's sprites drawn on a canvas at the
// screen's pixel density, its frame timer and side timer on the page's
// timers, keys, the case's buttons, touch and gamepads. Nothing runs between
// ticks: a timer is set for the next one and the canvas is drawn only when a
// sprite changed.

import {keyed, builtinPictures, loadSharpBuiltinPictures} from './pictures.js';
import {positionForKey, kCaseButtonKeys} from './keys.js';
import {Gamepads} from './gamepad.js';

const kSideTimerMs = 250;
const kCrack = 5, kGameOver = 7;

export class Handheld {
  // module: the wasm module; sound: Sound; layout: the built-in sprite layout;
  // onExit: the exit button was clicked; onReport(text): a message for the player.
  // russian(): whether the page speaks Russian.
  constructor({module, canvas, sound, layout, russian, onExit, onReport, onTitle}) {
    Object.assign(this, {module, canvas, sound, layout, russian, onExit, onReport, onTitle});
    this.index = new Map(layout.map((s, i) => [s.name, i]));
    this.game = null;
    this.basePictures = null;   // built-in, one game pixel each; null until decoded
    this.sharp = new Map();     // factor -> built-in pictures drawn from SVG
    this.skinPictures = new Map();  // path -> keyed canvas
    this.shownLit = '';
    this.busyUntil = 0;         // a step's sound is playing until then
    this.queued = [];           // input that waits for it
    this.frameTimer = 0;
    this.sideTimer = 0;
    this.drawRequest = 0;
    this.heldButton = null;
    this.keys = 'WODK';
    this.scale = 1;
    this.gamepads = new Gamepads({
      press: (p) => this.input(() => this.game.pressGameKey(p)),
      caseDown: (name) => this.caseDown(name),
      caseUp: (name) => this.caseUp(name),
    });
    this.listen();
  }

  // decoded: decodeBuiltinSheet()'s promise. A game may be launched before:
  // nothing is drawn until the pictures are there.
  async loadPictures(decoded) {
    this.basePictures = await builtinPictures(this.layout, decoded);
    if (this.game) this.redraw();
  }

  // Resolves when the handheld was first drawn, or after at most ms (a tab
  // opened hidden draws nothing until it is shown).
  firstDrawn(ms) {
    if (this.firstDrawnAt) return Promise.resolve();
    return new Promise((resolve) => {
      this.onFirstDraw = resolve;
      setTimeout(resolve, ms);
    });
  }

  // --- Launching ---------------------------------------------------------
  launchBuiltin() {
    this.replaceGame();
    this.game.launchBuiltin();
    this.started();
    return [];
  }

  // skinFile: the skin's .ini in the module's file system; pictures: the
  // page's decoded pictures by path; pkg: the skin's package ({folder, name}),
  // by which the failure lines name its files. Gives the failure lines.
  launchSkin(skinFile, pictures, pkg) {
    this.replaceGame();
    this.skinPictures = new Map();
    for (const [path, decoded] of pictures) this.skinPictures.set(path, decoded);
    this.module.pictureProblem = (path) => {
      const decoded = pictures.get(path);
      if (!decoded) return 'the file cannot be opened';
      return decoded.image ? '' : decoded.problem;
    };
    const failures = this.game.launchSkin(skinFile, pkg.folder, pkg.name);
    this.module.pictureProblem = null;
    if (failures.length) { this.stop(); return failures; }
    this.started();
    return [];
  }

  replaceGame() {
    this.stop();
    if (this.game) this.game.delete();
    this.game = new this.module.Game('/builtin/sounds');
    this.game.setRussian(this.russian());
    this.keyedSkin = new Map();
  }

  started() {
    this.keys = this.game.keys();
    this.pictureFiles = this.game.pictureFiles();
    this.sound.setWaves(this.game);
    this.game.setPageShown(!document.hidden);
    this.running = true;
    this.resize();
    this.afterEngine();
    this.gamepads.setActive(true);
  }

  stop() {
    this.running = false;
    clearTimeout(this.frameTimer);
    clearTimeout(this.sideTimer);
    clearTimeout(this.waitTimer);
    this.frameTimer = this.sideTimer = 0;
    this.busyUntil = 0;
    this.queued = [];
    this.gamepads.setActive(false);
    if (this.game) this.game.stop();
  }

  // --- Timing --------------------------------------------------------------
  // After every call into the engine: its sounds, the wait for a step, what to
  // draw, what to tell, and the timers for what comes next.
  afterEngine() {
    const {played, litBeforeWait} = this.game.takeSounds() || {played: [], litBeforeWait: ''};
    let waitMs = 0;
    for (const {effect, wait} of played) {
      const ms = this.sound.play(effect);
      if (wait) waitMs += ms;
      if (effect === kCrack || effect === kGameOver) this.gamepads.rumble(effect === kGameOver);
    }
    if (waitMs > 0) {
      // The chute moves on screen when its step has sounded, as on the desktop.
      this.show(litBeforeWait);
      this.busyUntil = performance.now() + waitMs;
      clearTimeout(this.waitTimer);
      this.waitTimer = setTimeout(() => this.endWait(), waitMs);
    } else {
      this.show(this.game.lit());
    }
    const report = this.game.takeReport();
    if (report) this.onReport(report);
    const title = this.game.title();
    if (title !== this.shownTitle) { this.shownTitle = title; this.onTitle(title); }
    this.schedule();
  }

  endWait() {
    this.busyUntil = 0;
    this.show(this.game.lit());
    // What the player did during the sound runs now, inside the tick as it were.
    const queued = this.queued;
    this.queued = [];
    for (const action of queued) action();
    this.afterEngine();
  }

  input(action) {
    if (!this.running) return;
    if (this.busyUntil) { this.queued.push(action); return; }
    action();
    this.afterEngine();
    this.drawNow();
  }

  schedule() {
    clearTimeout(this.frameTimer);
    this.frameTimer = 0;
    if (!this.running || this.busyUntil) return;
    const ms = this.game.msUntilTick();
    if (ms >= 0) this.frameTimer = setTimeout(() => this.frameTick(), ms);
    if (!this.sideTimer && this.game.sideTimerEnabled() && !document.hidden)
      this.sideTimer = setTimeout(() => this.sideTick(), kSideTimerMs);
  }

  frameTick() {
    this.frameTimer = 0;
    if (!this.running || this.busyUntil) return;
    this.game.pollFrameTimer();
    this.afterEngine();
  }

  sideTick() {
    this.sideTimer = 0;
    if (!this.running) return;
    if (this.busyUntil) { this.queued.push(() => this.game.sideTick()); return; }
    this.game.sideTick();
    this.afterEngine();
  }

  pageShown(shown) {
    if (!this.game) return;
    this.game.setPageShown(shown);
    this.sound.setPageShown(shown);
    this.gamepads.update();
    if (!shown) { clearTimeout(this.sideTimer); this.sideTimer = 0; }
    if (this.running) this.afterEngine();
  }

  // --- Drawing -------------------------------------------------------------
  // A frame is asked for only when a sprite came or went (a moved sprite
  // goes through redraw()): a side tick or a tick that changed nothing would
  // otherwise have the browser produce frames all through a game, and a key
  // that comes just after one waits for the browser's next frame interval
  // instead of being shown at once.
  show(lit) {
    this.wantedLit = lit;
    if (this.drawRequest || lit === this.shownLit) return;
    this.drawRequest = requestAnimationFrame(() => this.draw());
  }

  // What the player did is drawn at once rather than in the next animation
  // frame's callback: the next frame the browser paints holds it already,
  // without the drawing's own time after the frame began.
  drawNow() {
    if (!this.drawRequest) return;
    cancelAnimationFrame(this.drawRequest);
    this.draw(false);
  }

  gameSize() {
    const bg = this.game.sprite(0);
    return {width: bg.width + 8, height: bg.height + 34};
  }

  resize() {
    if (!this.game) return;
    const {width, height} = this.gameSize();
    const room = {width: window.innerWidth, height: window.innerHeight - 40};
    const fit = Math.min(1, room.width / width, room.height / height);
    const dpr = window.devicePixelRatio || 1;
    this.cssScale = fit;
    this.scale = fit * dpr;
    this.canvas.style.width = `${width * fit}px`;
    this.canvas.style.height = `${height * fit}px`;
    this.canvas.width = Math.round(width * this.scale);
    this.canvas.height = Math.round(height * this.scale);
    this.canvas.setAttribute('aria-label', this.game.title().trim() || 'Pellox');
    const factor = Math.ceil(this.scale - 1e-6);
    if (factor > 1 && !this.sharp.has(factor)) {
      this.sharp.set(factor, null);
      loadSharpBuiltinPictures(this.layout, factor).then((pictures) => {
        this.sharp.set(factor, pictures);
        this.redraw();
      });
    }
    this.redraw();
  }

  redraw() { this.shownLit = ''; this.show(this.wantedLit || (this.game ? this.game.lit() : '')); }

  // The picture a sprite shows and its size in game pixels.
  picture(index, box) {
    const s = box || this.game.sprite(index);
    if (s.picture) {
      let keyedPicture = this.keyedSkin.get(s.picture + '|' + index);
      if (!keyedPicture) {
        const decoded = this.skinPictures.get(s.picture);
        if (!decoded || !decoded.image) return null;
        keyedPicture = keyed(decoded.image, this.layout[index].transparent);
        this.keyedSkin.set(s.picture + '|' + index, keyedPicture);
      }
      // A skin's bitmap, as on the desktop: enlarged by the ratio rounded,
      // pixel by pixel, and only then brought to a fractional ratio smoothly.
      const whole = Math.max(1, Math.round(this.scale));
      let enlarged = keyedPicture;
      if (whole > 1) {
        const key = `${s.picture}|${index}|${whole}`;
        enlarged = this.keyedSkin.get(key);
        if (!enlarged) {
          enlarged = document.createElement('canvas');
          enlarged.width = keyedPicture.width * whole;
          enlarged.height = keyedPicture.height * whole;
          const g = enlarged.getContext('2d');
          g.imageSmoothingEnabled = false;
          g.drawImage(keyedPicture, 0, 0, enlarged.width, enlarged.height);
          this.keyedSkin.set(key, enlarged);
        }
      }
      return {image: enlarged, width: keyedPicture.width, height: keyedPicture.height,
              smooth: Math.abs(this.scale - whole) > 1e-6, box: s};
    }
    const factor = Math.ceil(this.scale - 1e-6);
    const sharp = factor > 1 ? this.sharp.get(factor) : null;
    const base = this.basePictures[index];
    if (sharp) return {image: sharp[index], width: base.width, height: base.height, smooth: true, box: s};
    return {image: base.image, from: base, width: base.width, height: base.height, smooth: this.scale < 1, box: s};
  }

  // inFrame: called back for an animation frame (else at a player's input).
  draw(inFrame = true) {
    this.drawRequest = 0;
    if (!this.game || !this.basePictures) return;
    const lit = this.wantedLit;
    const view = this.game.boxes();
    const boxes = Array.from(lit, (_, i) => ({left: view[4 * i], top: view[4 * i + 1], width: view[4 * i + 2],
                                               height: view[4 * i + 3], picture: this.pictureFiles[i]}));
    // Only the boxes of sprites that came, went or moved are drawn again.
    let dirty = null;
    if (this.shownLit && this.shownBoxes && this.shownLit.length === lit.length) {
      dirty = [];
      for (let i = 0; i < lit.length; ++i) {
        const a = this.shownBoxes[i], b = boxes[i];
        const moved = a.left !== b.left || a.top !== b.top || a.width !== b.width || a.height !== b.height ||
                      a.picture !== b.picture;
        if (lit[i] !== this.shownLit[i] || (moved && (lit[i] === '1' || this.shownLit[i] === '1'))) {
          dirty.push(a);
          if (moved) dirty.push(b);
        }
      }
      if (dirty.length === 0) return;
    }
    compose(this.context(), this.scale, lit, (i) => this.picture(i, boxes[i]), dirty);
    this.shownLit = lit;
    this.shownBoxes = boxes;
    this.drawnAt = performance.now();
    this.drawnInFrame = inFrame;
    if (!this.firstDrawnAt) {
      this.firstDrawnAt = this.drawnAt;
      if (this.onFirstDraw) this.onFirstDraw();
    }
  }

  // The canvas's drawing context, asked for once. Not a low-latency
  // (desynchronized) one: headless Chromium showed a key's frame later with it
  // (bench/README.md).
  context() {
    if (!this.drawingContext) this.drawingContext = this.canvas.getContext('2d');
    return this.drawingContext;
  }

  // The frame shown, composed whole: what the boxes drawn again must add up to.
  fullFrame() {
    const frame = document.createElement('canvas');
    frame.width = this.canvas.width;
    frame.height = this.canvas.height;
    compose(frame.getContext('2d'), this.scale, this.shownLit, (i) => this.picture(i, this.shownBoxes[i]));
    return frame;
  }

  // --- Input ---------------------------------------------------------------
  listen() {
    window.addEventListener('keydown', (e) => this.keyDown(e));
    window.addEventListener('keyup', (e) => this.keyUp(e));
    window.addEventListener('resize', () => this.resize());
    this.canvas.addEventListener('pointerdown', (e) => this.pointerDown(e));
    this.canvas.addEventListener('pointerup', (e) => this.pointerUp(e));
    this.canvas.addEventListener('pointercancel', (e) => this.pointerUp(e));
    this.canvas.addEventListener('contextmenu', (e) => e.preventDefault());
  }

  keyDown(e) {
    if (!this.running || e.defaultPrevented) return;
    const position = positionForKey(e, this.keys);
    if (position !== null) {
      e.preventDefault();
      this.input(() => this.game.pressGameKey(position));
      return;
    }
    if (e.repeat) return;
    const button = kCaseButtonKeys[e.code];
    if (button) { e.preventDefault(); this.caseDown(button); }
    else if (e.code === 'Escape') { e.preventDefault(); this.exit(); }
  }

  keyUp(e) {
    const button = kCaseButtonKeys[e.code];
    if (button && this.running) { e.preventDefault(); this.caseUp(button); }
  }

  caseDown(name) {
    if (name === 'imButtS' || name === 'imButtX') return;  // these act when let go
    this.input(() => this.game.pressCaseButton(this.index.get(name)));
    this.redraw();
  }

  caseUp(name) {
    if (name === 'imButtX') { this.exit(); return; }
    this.input(() => this.game.releaseCaseButton(this.index.get(name)));
    this.redraw();
  }

  exit() {
    this.stop();
    this.onExit();
  }

  // Game pixels of a pointer event.
  gamePoint(e) {
    const r = this.canvas.getBoundingClientRect();
    return {x: (e.clientX - r.left) / this.cssScale, y: (e.clientY - r.top) / this.cssScale};
  }

  // The case button under a point; a finger gets a few pixels more around it.
  buttonAt(p, slack) {
    for (const name of ['imButtA', 'imButtB', 'imButtT', 'imButtS', 'imButtX']) {
      const b = this.game.sprite(this.index.get(name));
      if (p.x >= b.left - slack && p.x < b.left + b.width + slack && p.y >= b.top - slack && p.y < b.top + b.height + slack)
        return name;
    }
    return null;
  }

  // The LCD: the box around every sprite but the case and its buttons.
  lcdBox() {
    let left = Infinity, top = Infinity, right = -Infinity, bottom = -Infinity;
    this.layout.forEach((s, i) => {
      if (i === 0 || s.name.startsWith('imButt')) return;
      const b = this.game.sprite(i);
      left = Math.min(left, b.left); top = Math.min(top, b.top);
      right = Math.max(right, b.left + b.width); bottom = Math.max(bottom, b.top + b.height);
    });
    return {left, top, right, bottom};
  }

  pointerDown(e) {
    if (!this.running) return;
    e.preventDefault();
    const p = this.gamePoint(e);
    const touch = e.pointerType !== 'mouse';
    const button = this.buttonAt(p, touch ? 10 : 0);
    if (button) {
      this.canvas.setPointerCapture(e.pointerId);
      this.heldButton = {name: button, pointer: e.pointerId};
      this.caseDown(button);
      return;
    }
    if (!touch) return;
    // A finger on the LCD: the quarter it lands in is the chute.
    const lcd = this.lcdBox();
    if (p.x < lcd.left - 40 || p.x > lcd.right + 40 || p.y < lcd.top - 40 || p.y > lcd.bottom + 40) return;
    const right = p.x >= (lcd.left + lcd.right) / 2;
    const lower = p.y >= (lcd.top + lcd.bottom) / 2;
    const position = (right ? 1 : 0) + (lower ? 2 : 0);
    this.input(() => this.game.pressGameKey(position));
  }

  pointerUp(e) {
    if (!this.heldButton || this.heldButton.pointer !== e.pointerId) return;
    const {name} = this.heldButton;
    this.heldButton = null;
    if (e.type === 'pointercancel' && (name === 'imButtS' || name === 'imButtX')) return;
    this.caseUp(name);
  }
}

// Draws the lit sprites, bottom first, each clipped to its box, at scale
// device pixels per game pixel; what no sprite covers stays see-through.
// pictureOf(i): {image, width, height, smooth, box}, and from ({x, y, width,
// height}) when the picture is a part of image (canvas clamps to that part).
// dirty: the game-pixel boxes to draw again, or null for the whole frame.
export function compose(g, scale, lit, pictureOf, dirty = null) {
  g.setTransform(1, 0, 0, 1, 0, 0);
  g.save();
  if (dirty) {
    // Whole device pixels, so that nothing half-covered is left behind.
    g.beginPath();
    for (const d of dirty) {
      const left = Math.floor(d.left * scale), top = Math.floor(d.top * scale);
      const right = Math.ceil((d.left + d.width) * scale), bottom = Math.ceil((d.top + d.height) * scale);
      g.rect(left, top, right - left, bottom - top);
      g.clearRect(left, top, right - left, bottom - top);
    }
    g.clip();
  } else {
    g.clearRect(0, 0, g.canvas.width, g.canvas.height);
  }
  g.setTransform(scale, 0, 0, scale, 0, 0);
  // A pixel's margin: the clip was widened to whole device pixels.
  const touches = (b) => !dirty || dirty.some((d) => b.left < d.left + d.width + 1 && d.left - 1 < b.left + b.width &&
                                                    b.top < d.top + d.height + 1 && d.top - 1 < b.top + b.height);
  for (let i = 0; i < lit.length; ++i) {
    if (lit[i] !== '1') continue;
    const p = pictureOf(i);
    if (!p) continue;
    const b = p.box;
    if (!touches(b)) continue;
    g.save();
    g.beginPath();
    g.rect(b.left, b.top, b.width, b.height);
    g.clip();
    g.imageSmoothingEnabled = p.smooth;
    // from: where the picture lies in a sheet of several (the built-in ones).
    if (p.from) g.drawImage(p.image, p.from.x, p.from.y, p.from.width, p.from.height, b.left, b.top, p.width, p.height);
    else g.drawImage(p.image, b.left, b.top, p.width, p.height);
    g.restore();
  }
  g.restore();
}
