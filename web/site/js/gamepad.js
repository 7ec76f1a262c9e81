// Gamepads through the Gamepad API, with the desktop's mapping in the
// standard layout's button numbers: the left hand plays the left chutes, the
// right hand the right ones; Start is Game A, Back Game B, the right stick
// pressed in or the Guide button is Time. Polled once a frame only while a
// controller is connected and the page is shown.

const kGameKeys = new Map([[12, 0], [4, 0], [13, 2], [6, 2], [3, 1], [5, 1], [0, 3], [7, 3]]);
const kCaseButtons = new Map([[9, 'imButtA'], [8, 'imButtB'], [11, 'imButtT'], [16, 'imButtT']]);

export class Gamepads {
  // press(position), caseDown(name), caseUp(name)
  constructor(handlers) {
    this.handlers = handlers;
    this.held = new Map();  // pad index -> array of pressed flags
    this.frame = 0;
    this.active = false;
    window.addEventListener('gamepadconnected', () => this.update());
    window.addEventListener('gamepaddisconnected', (e) => { this.held.delete(e.gamepad.index); this.update(); });
  }

  pads() { return navigator.getGamepads ? [...navigator.getGamepads()].filter(Boolean) : []; }

  setActive(active) { this.active = active; this.update(); }

  update() {
    const wanted = this.active && !document.hidden && this.pads().length > 0;
    if (wanted && !this.frame) this.frame = requestAnimationFrame(() => this.poll());
    if (!wanted && this.frame) { cancelAnimationFrame(this.frame); this.frame = 0; }
  }

  poll() {
    this.frame = 0;
    for (const pad of this.pads()) {
      const before = this.held.get(pad.index) || [];
      const now = pad.buttons.map((b) => b.pressed);
      now.forEach((pressed, button) => {
        if (pressed === !!before[button]) return;
        if (kGameKeys.has(button)) { if (pressed) this.handlers.press(kGameKeys.get(button)); return; }
        const name = kCaseButtons.get(button);
        if (name) pressed ? this.handlers.caseDown(name) : this.handlers.caseUp(name);
      });
      this.held.set(pad.index, now);
    }
    this.update();
  }

  // A short rumble for a fallen egg, a longer one when the game is over.
  rumble(long) {
    for (const pad of this.pads()) {
      const motor = pad.vibrationActuator;
      if (motor && motor.playEffect)
        motor.playEffect('dual-rumble', {duration: long ? 700 : 200, strongMagnitude: 0.8, weakMagnitude: 0.5})
          .catch(() => {});
    }
  }
}
