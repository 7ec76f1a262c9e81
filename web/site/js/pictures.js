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
    image = await createImageBitmap(new Blob([bytes], {type}), kExact);
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

// The exact pixels of a picture: no colour management, no premultiplied alpha.
const kExact = {premultiplyAlpha: 'none', colorSpaceConversion: 'none'};

// The built-in pictures' sheet decoded: one PNG holding every sprite's bitmap
// with its key colour already see-through (or all of it opaque, as the sprite
// table says). response: its fetch() or the promise of one. index.html starts
// the same at once, before the page's scripts have loaded.
export async function decodeSheetPicture(response) {
  response = await response;
  if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
  return createImageBitmap(await response.blob(), kExact);
}

// The built-in pictures at one game pixel each, by the list of where each
// lies in the sheet (sprites.json, in the sprite table's order): for each,
// {image: the sheet, x, y, width, height}, drawn from the sheet itself (cutting
// 56 bitmaps out of it cost the first frame up to 35 ms). sheet: the decoded
// sheet or its promise; boxes: the list's fetch() or the promise of one.
export async function decodeBuiltinSheet(sheet, boxes) {
  const list = await (async () => {
    const response = await boxes;
    if (!response.ok) throw new Error(`builtin/sprites.json: ${response.status} ${response.statusText}`);
    return response.json();
  })();
  let whole;
  try {
    whole = await sheet;
  } catch (error) {
    throw new Error(`builtin/sprites.png: ${error && error.message ? error.message : error}`);
  }
  const inside = (box) => Array.isArray(box) && box.length === 4 && box.every(Number.isInteger) &&
    box[0] >= 0 && box[1] >= 0 && box[2] > 0 && box[3] > 0 && box[0] + box[2] <= whole.width && box[1] + box[3] <= whole.height;
  if (!Array.isArray(list.sprites) || !list.sprites.every(inside))
    throw new Error('builtin/sprites.json: a sprite lies outside builtin/sprites.png');
  return list.sprites.map(([x, y, width, height]) => ({image: whole, x, y, width, height}));
}

// The decoded sheet as the sprite table wants it, by sprite index.
export async function builtinPictures(layout, decoded) {
  decoded = await decoded;
  if (decoded.length !== layout.length)
    throw new Error(`builtin/sprites.png: ${decoded.length} pictures for ${layout.length} sprites`);
  decoded.forEach((picture, i) => {
    const {name, width, height} = layout[i];
    if (picture.width !== width || picture.height !== height)
      throw new Error(`builtin/sprites.png: ${name} is ${picture.width} x ${picture.height}, its box ${width} x ${height}`);
  });
  return decoded;
}

// The built-in pictures drawn from their sources at a whole factor above 1.
export async function loadSharpBuiltinPictures(layout, factor) {
  return Promise.all(layout.map(async (sprite) => {
    const response = await fetch(`builtin/sprites/${sprite.name}.svg`);
    const svg = await response.text();
    return sharpFromSvg(svg, sprite.width, sprite.height, factor, sprite.transparent);
  }));
}
