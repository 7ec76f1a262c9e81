// The page's own captions in both languages. The start screen's longer texts
// (introduction, memo, year, credits) come from the game's text files.

export const kStrings = {
  su: {
    caption: 'Pellox — версия 1.8',
    start: 'Да, я это уже сто раз видел! Всё прочитал!! Дайте поиграть!!!',
    choosing: ' Выберите скин ',
    pickFiles: 'Установить скин…',
    pickFolder: 'Установить папку скина…',
    forget: 'Удалить этот скин',
    dropHint: 'Скин можно перетащить на страницу: архив .zip, файл .ini со своими файлами или папку.',
    keysHint: 'Клавиши W, O, D, K (или касания четвертей экрана) ловят яйца; 1, 2, 3 — кнопки GAME A, GAME B и TIME, 4 — звук, Esc — выход.',
    loading: 'Загрузка…',
    installing: 'Установка…',
    installFailed: 'Скин не установился',
    noSkinFrom: (name) => `Из «${name}» не удалось установить ни одного скина.`,
    rejectedHeading: 'Найденные файлы скинов и почему они не подошли:',
    noSkinFile: 'Файла скина там нет: скин — это файл .ini, в разделе [SETTINGS] которого указаны ver и title.',
    installed: (titles) => `Установлено: ${titles}.`,
    launchFailed: 'Скин не запустился',
    notLoaded: 'Не загрузилось:',
    chooseAnother: 'Выберите другой скин или встроенную игру.',
    more: (n) => `…и ещё ${n}.`,
    storageRefused: 'Браузер не даёт сохранять рекорды и скины на этом сайте: рекорды сохранятся только до закрытия страницы.',
    storageFailed: (why) => `Рекорд не сохранился (${why}): он остаётся до закрытия страницы.`,
    skinStoreFailed: 'Скин не сохранился в браузере: он будет в списке только до закрытия страницы.',
    offlineReady: 'Игра сохранена в браузере и запустится без сети.',
    failedToLoad: 'Игра не загрузилась: ',
  },
  gb: {
    caption: 'Pellox – version 1.8',
    start: 'Yes, I’ve seen this thousands of times! Read it all through!! Let me play!!!',
    choosing: ' Choose a skin ',
    pickFiles: 'Install a skin…',
    pickFolder: 'Install a skin folder…',
    forget: 'Remove this skin',
    dropHint: 'You can drop a skin onto the page: a .zip archive, a skin’s .ini with its files, or a folder.',
    keysHint: 'W, O, D and K (or a tap on a quarter of the screen) catch the eggs; 1, 2 and 3 are Game A, Game B and Time, 4 the sound, Esc leaves.',
    loading: 'Loading…',
    installing: 'Installing…',
    installFailed: 'The skin was not installed',
    noSkinFrom: (name) => `No skin could be installed from ‘${name}’.`,
    rejectedHeading: 'Skin files found there, and why each was left out:',
    noSkinFile: 'There is no skin file in it: a skin is an .ini file whose [SETTINGS] section gives its ver and title.',
    installed: (titles) => `Installed: ${titles}.`,
    launchFailed: 'The skin did not start',
    notLoaded: 'What could not be loaded:',
    chooseAnother: 'Choose another skin or the built-in game.',
    more: (n) => `…and ${n} more.`,
    storageRefused: 'This browser does not let the page store scores or skins: scores are kept only until the page is closed.',
    storageFailed: (why) => `The score was not stored (${why}): it is kept until the page is closed.`,
    skinStoreFailed: 'The skin could not be stored in the browser: it stays in the menu only until the page is closed.',
    offlineReady: 'The game is stored in the browser and starts without a network.',
    failedToLoad: 'The game could not load: ',
  },
};

const kShownLines = 5;

// A bullet per line up to five, then how many more.
export function bullets(t, lines) {
  const shown = lines.slice(0, kShownLines).map((l) => `• ${l}`);
  if (lines.length > kShownLines) shown.push(t.more(lines.length - kShownLines));
  return shown.join('\n');
}
