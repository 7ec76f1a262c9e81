// Which wolf position a key asks for. The game's four letters play by their
// place on the keyboard (KeyboardEvent.code), so W, O, D and K work on any
// layout (ц, щ, в and л on a Russian one); a skin's key that is no letter
// plays by the character it types. Of two equal keys the earlier in the
// order upper left, lower left, upper right, lower right wins, as on the
// desktop.

const kOrder = [[0, 0], [2, 2], [1, 1], [3, 3]];  // [index in keys, position]

function upperAscii(c) { return c >= 'a' && c <= 'z' ? c.toUpperCase() : c; }
function isLatinLetter(c) { return c.length === 1 && upperAscii(c) >= 'A' && upperAscii(c) <= 'Z'; }

// keys: the four keys for UL, UR, DL, DR as the launch set them ("WODK").
export function positionForKey(event, keys) {
  if (event.ctrlKey || event.metaKey || event.altKey) return null;
  const place = /^Key([A-Z])$/.exec(event.code || '');
  const typed = event.key && event.key.length === 1 ? upperAscii(event.key) : '';
  for (const [index, position] of kOrder) {
    const key = keys[index];
    if (isLatinLetter(key) ? (place ? place[1] === key : typed === key) : typed === key) return position;
  }
  return null;
}

// The case's buttons from the keyboard, for players without a pointer:
// 1 Game A, 2 Game B, 3 Time (held like the buttons), 4 sound, Escape leaves.
export const kCaseButtonKeys = {Digit1: 'imButtA', Digit2: 'imButtB', Digit3: 'imButtT', Digit4: 'imButtS',
                                Numpad1: 'imButtA', Numpad2: 'imButtB', Numpad3: 'imButtT', Numpad4: 'imButtS'};
