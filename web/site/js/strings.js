// The page's own captions in both languages. The captions and box texts the
// desktop's start screen shows too come from the game's module
// (takeSharedTexts), written once in the game's code; the start screen's
// longer texts (introduction, memo, year, credits) from its text files.

export const kStrings = {
  su: {
    pickFolder: 'Установить папку скина…',
    forget: 'Удалить этот скин',
    dropHint: 'Скин можно перетащить на страницу: архив .zip, файл .ini со своими файлами или папку.',
    keysHint: 'Клавиши W, O, D, K (или касания четвертей экрана) ловят яйца; 1, 2, 3 — кнопки GAME A, GAME B и TIME, 4 — звук, Esc — выход.',
    loading: 'Загрузка…',
    installing: 'Установка…',
    installed: (titles) => `Установлено: ${titles}.`,
    storageRefused: 'Браузер не даёт сохранять рекорды и скины на этом сайте: рекорды сохранятся только до закрытия страницы.',
    storageFailed: (why) => `Рекорд не сохранился (${why}): он остаётся до закрытия страницы.`,
    skinStoreFailed: 'Скин не сохранился в браузере: он будет в списке только до закрытия страницы.',
    offlineReady: 'Игра сохранена в браузере и запустится без сети.',
    failedToLoad: 'Игра не загрузилась: ',
  },
  gb: {
    pickFolder: 'Install a skin folder…',
    forget: 'Remove this skin',
    dropHint: 'You can drop a skin onto the page: a .zip archive, a skin’s .ini with its files, or a folder.',
    keysHint: 'W, O, D and K (or a tap on a quarter of the screen) catch the eggs; 1, 2 and 3 are Game A, Game B and Time, 4 the sound, Esc leaves.',
    loading: 'Loading…',
    installing: 'Installing…',
    installed: (titles) => `Installed: ${titles}.`,
    storageRefused: 'This browser does not let the page store scores or skins: scores are kept only until the page is closed.',
    storageFailed: (why) => `The score was not stored (${why}): it is kept until the page is closed.`,
    skinStoreFailed: 'The skin could not be stored in the browser: it stays in the menu only until the page is closed.',
    offlineReady: 'The game is stored in the browser and starts without a network.',
    failedToLoad: 'The game could not load: ',
  },
};

// The texts the desktop shows too, from the game's module, added to each
// language's: the start screen's caption, the start button's, the skin
// menu's, and the words of the boxes that say why a skin did not install or
// start. %1 in them is what they are about.
export function takeSharedTexts(module) {
  for (const language of ['su', 'gb']) {
    const shared = module.startTexts(language === 'su');
    const fill = (text, what) => text.replace('%1', () => what);  // a name is no pattern
    Object.assign(kStrings[language], shared, {
      noSkinFrom: (name) => fill(shared.noSkinFrom, fill(shared.quoted, name)),
      more: (n) => fill(shared.more, String(n)),
    });
  }
}

const kShownLines = 5;

// A bullet per line up to five, then how many more.
export function bullets(t, lines) {
  const shown = lines.slice(0, kShownLines).map((l) => `• ${l}`);
  if (lines.length > kShownLines) shown.push(t.more(lines.length - kShownLines));
  return shown.join('\n');
}
