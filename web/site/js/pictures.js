// The handheld's pictures, made ready to draw as the desktop makes them: a
// see-through sprite loses every pixel of its key colour (the picture's
// lower-left pixel), an opaque one keeps all. At one device pixel per game
// pixel the built-in pictures are the desktop's own bitmaps; on denser
// screens they are drawn again from their SVG sources, each pixel the art
// covers less than half left see-through and the rest blended against the
// colour the art was drawn on.

// The largest picture read, as on the desktop: 4096 x 4096 pixels.
const kLargestPicturePx = 4096 * 4096;
const kLargestPictureFileBytes = kLargestPicturePx * 4 + 65536;

export function pictureFormat(bytes) {
  const b = bytes;
  if (b.length >= 2 && b[0] === 0x42 && b[1] === 0x4d) return 'image/bmp';
  if (b.length >= 8 && b[0] === 0x89 && b[1] === 0x50 && b[2] === 0x4e && b[3] === 0x47) return 'image/png';
  if (b.length >= 6 && b[0] === 0x47 && b[1] === 0x49 && b[2] === 0x46 && b[3] === 0x38) return 'image/gif';
  if (b.length >= 3 && b[0] === 0xff && b[1] === 0xd8 && b[2] === 0xff) return 'image/jpeg';
  return '';
}

function canvas(width, height) {
  const c = typeof OffscreenCanvas === 'function' ? new OffscreenCanvas(width, height)
                                                  : Object.assign(document.createElement('canvas'), {width, height});
  return c;
}

// Decodes a picture file's bytes; gives {image} or {problem} in the words
// the desktop uses for a skin's author.
export async function decodePicture(bytes) {
  if (bytes.length === 0) return {problem: 'the file is empty'};
  if (bytes.length > kLargestPictureFileBytes)
    return {problem: `the file has ${bytes.length} bytes: pictures of at most ${kLargestPictureFileBytes} bytes are read`};
  const type = pictureFormat(bytes);
  if (!type) return {problem: 'not a readable picture (BMP, PNG, GIF and JPEG pictures are read)'};
  let image;
  try {
    image = await createImageBitmap(new Blob([bytes], {type}),
                                    {premultiplyAlpha: 'none', colorSpaceConversion: 'none'});
  } catch {
    return {problem: 'not a readable picture'};
  }
  if (image.width * image.height > kLargestPicturePx) {
    image.close();
    return {problem: `the picture is ${image.width} x ${image.height} pixels: at most 16777216 pixels (4096 x 4096) are read`};
  }
  return {image};
}

// The picture with its key colour see-through (or all of it opaque).
export function keyed(image, transparent) {
  const c = canvas(image.width, image.height);
  const g = c.getContext('2d', {willReadFrequently: true});
  g.drawImage(image, 0, 0);
  const data = g.getImageData(0, 0, c.width, c.height);
  const px = data.data;
  const at = (c.height - 1) * c.width * 4;
  const kr = px[at], kg = px[at + 1], kb = px[at + 2];
  for (let i = 0; i < px.length; i += 4) {
    if (transparent && px[i] === kr && px[i + 1] === kg && px[i + 2] === kb) {
      px[i] = px[i + 1] = px[i + 2] = px[i + 3] = 0;
    } else {
      px[i + 3] = 255;
    }
  }
  g.putImageData(data, 0, 0);
  return c;
}

// An SVG source drawn at factor device pixels per game pixel.
export async function sharpFromSvg(svgText, width, height, factor, transparent) {
  const under = /data-under="#([0-9a-fA-F]{6})"/.exec(svgText);
  const u = under ? parseInt(under[1], 16) : 0;
  const ur = (u >> 16) & 255, ug = (u >> 8) & 255, ub = u & 255;
  const w = Math.ceil(width * factor - 1e-6), h = Math.ceil(height * factor - 1e-6);
  const image = await createImageBitmap(new Blob([svgText], {type: 'image/svg+xml'}))
    .catch(() => loadImage(svgText));
  const c = canvas(w, h);
  const g = c.getContext('2d', {willReadFrequently: true});
  g.drawImage(image, 0, 0, w, h);
  const data = g.getImageData(0, 0, w, h);
  const px = data.data;
  for (let i = 0; i < px.length; i += 4) {
    const a = px[i + 3];
    if (transparent && a < 128) { px[i] = px[i + 1] = px[i + 2] = px[i + 3] = 0; continue; }
    // Blended against the colour beneath the art, then opaque.
    const k = (255 - a) / 255;
    px[i] = Math.round(px[i] * a / 255 + ur * k);
    px[i + 1] = Math.round(px[i + 1] * a / 255 + ug * k);
    px[i + 2] = Math.round(px[i + 2] * a / 255 + ub * k);
    px[i + 3] = 255;
  }
  g.putImageData(data, 0, 0);
  return c;
}

// Some browsers decode SVG only through an <img>.
function loadImage(svgText) {
  return new Promise((resolve, reject) => {
    const img = new Image();
    img.onload = () => resolve(img);
    img.onerror = reject;
    img.src = URL.createObjectURL(new Blob([svgText], {type: 'image/svg+xml'}));
  });
}

// The pixels of one of our own bitmaps (24 bits, uncompressed, as svg2bmp
// writes them), keyed as keyed() does, without a round trip through a canvas:
// the built-in pictures are ready in a few milliseconds.
function keyedOwnBitmap(bytes, transparent) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const offset = view.getUint32(10, true);
  const width = view.getInt32(18, true);
  const rawHeight = view.getInt32(22, true);
  const height = Math.abs(rawHeight);
  if (view.getUint16(28, true) !== 24 || view.getUint32(30, true) !== 0) return null;
  const stride = Math.ceil(width * 3 / 4) * 4;
  if (offset + stride * height > bytes.length) return null;
  const rowAt = (y) => offset + (rawHeight > 0 ? height - 1 - y : y) * stride;
  const key = rowAt(height - 1);
  const kb = bytes[key], kg = bytes[key + 1], kr = bytes[key + 2];
  const pixels = new ImageData(width, height);
  const px = pixels.data;
  for (let y = 0, o = 0; y < height; ++y) {
    for (let x = 0, at = rowAt(y); x < width; ++x, at += 3, o += 4) {
      const b = bytes[at], g = bytes[at + 1], r = bytes[at + 2];
      if (transparent && r === kr && g === kg && b === kb) continue;  // left see-through
      px[o] = r; px[o + 1] = g; px[o + 2] = b; px[o + 3] = 255;
    }
  }
  return pixels;
}

// The built-in pictures at one game pixel each: the bitmaps one after the
// other in the sprite table's order in one file. Decoded before the game's
// module is ready (it compiles meanwhile), each keyed as a see-through
// sprite; builtinPictures() then matches them to the sprite table.
// sheet: the file's bytes, or a promise of them.
export async function decodeBuiltinSheet(sheet) {
  sheet = await sheet;
  const view = new DataView(sheet.buffer, sheet.byteOffset, sheet.byteLength);
  const files = [];
  for (let at = 0; at < sheet.length;) {
    if (at + 6 > sheet.length || view.getUint16(at, true) !== 0x4d42)
      throw new Error(`builtin/sprites.bin: no bitmap at byte ${at}`);
    const size = view.getUint32(at + 2, true);
    if (size < 6 || at + size > sheet.length) throw new Error(`builtin/sprites.bin: the bitmap at byte ${at} is cut short`);
    files.push(sheet.subarray(at, at + size));
    at += size;
  }
  return Promise.all(files.map(async (bytes) => ({bytes, seeThrough: await builtinPicture(bytes, true)})));
}

// The decoded sheet as the sprite table wants it, by sprite index: the few
// opaque sprites are keyed again with every pixel kept.
export async function builtinPictures(layout, decoded) {
  decoded = await decoded;
  if (decoded.length !== layout.length)
    throw new Error(`builtin/sprites.bin: ${decoded.length} bitmaps for ${layout.length} sprites`);
  return Promise.all(layout.map((sprite, i) =>
    (sprite.transparent ? decoded[i].seeThrough : builtinPicture(decoded[i].bytes, false))));
}

async function builtinPicture(bytes, transparent) {
  const pixels = keyedOwnBitmap(bytes, transparent);
  if (pixels) {
    const c = canvas(pixels.width, pixels.height);
    c.getContext('2d').putImageData(pixels, 0, 0);
    return c;
  }
  const decoded = await decodePicture(bytes);
  if (!decoded.image) throw new Error(`builtin/sprites.bin: ${decoded.problem}`);
  return keyed(decoded.image, transparent);
}

// The built-in pictures drawn from their sources at a whole factor above 1.
export async function loadSharpBuiltinPictures(layout, factor) {
  return Promise.all(layout.map(async (sprite) => {
    const response = await fetch(`builtin/sprites/${sprite.name}.svg`);
    const svg = await response.text();
    return sharpFromSvg(svg, sprite.width, sprite.height, factor, sprite.transparent);
  }));
}
