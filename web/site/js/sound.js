// The eight effects through Web Audio. The page may make no sound before the
// player's first gesture: the output is opened then, and effects played
// before are silent. A step's sound is waited for all the same, so the game
// keeps the desktop's beat from the first tick on.

export class Sound {
  constructor() {
    this.context = null;
    this.buffers = new Array(8).fill(null);
    this.durationsMs = new Array(8).fill(0);
    this.waves = new Array(8).fill(null);
    const open = () => this.open();
    for (const type of ['pointerdown', 'keydown', 'touchstart'])
      window.addEventListener(type, open, {capture: true, passive: true});
  }

  open() {
    if (this.context) {
      if (this.context.state === 'suspended' && !document.hidden) this.context.resume().catch(() => {});
      return;
    }
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return;
    try {
      this.context = new Context({latencyHint: 'interactive'});
    } catch {
      return;
    }
    this.waves.forEach((wave, i) => { if (wave) this.buffers[i] = this.makeBuffer(wave); });
  }

  // The game's waves, as the engine holds them: format and samples.
  setWaves(game) {
    for (let effect = 0; effect < 8; ++effect) {
      const wave = game.wave(effect);
      if (!wave) { this.waves[effect] = null; this.durationsMs[effect] = 0; continue; }
      const copy = {channels: wave.channels, rate: wave.rate, bits: wave.bits, data: wave.data.slice()};
      this.waves[effect] = copy;
      const frames = copy.data.length / (copy.channels * copy.bits / 8);
      this.durationsMs[effect] = frames * 1000 / copy.rate;
      this.buffers[effect] = this.context ? this.makeBuffer(copy) : null;
    }
  }

  makeBuffer(wave) {
    const bytesPerSample = wave.bits / 8;
    const frames = Math.floor(wave.data.length / (wave.channels * bytesPerSample));
    if (frames === 0) return null;
    const buffer = this.context.createBuffer(wave.channels, frames, wave.rate);
    const view = new DataView(wave.data.buffer, wave.data.byteOffset, wave.data.byteLength);
    for (let ch = 0; ch < wave.channels; ++ch) {
      const out = buffer.getChannelData(ch);
      for (let f = 0; f < frames; ++f) {
        const at = (f * wave.channels + ch) * bytesPerSample;
        out[f] = wave.bits === 8 ? (view.getUint8(at) - 128) / 128 : view.getInt16(at, true) / 32768;
      }
    }
    return buffer;
  }

  // Plays an effect; gives how long it sounds, in milliseconds.
  play(effect) {
    const buffer = this.buffers[effect];
    if (this.context && this.context.state === 'running' && buffer) {
      const source = this.context.createBufferSource();
      source.buffer = buffer;
      source.connect(this.context.destination);
      source.start();
    }
    return this.durationsMs[effect];
  }

  // While the page is hidden the output rests.
  setPageShown(shown) {
    if (!this.context) return;
    if (shown) this.context.resume().catch(() => {});
    else this.context.suspend().catch(() => {});
  }
}
