// The game's folder, where browsers give folder access (the File System
// Access API): the folder chosen once, kept across visits in IndexedDB (a
// folder handle cannot live in local storage), and the seed files written
// into it.
'use strict';

const kFolderDatabase = 'velmora';
const kFolderStore = 'folders';
const kGameFolderKey = 'game';

/// True when the browser lets the page choose a folder and write into it.
function folderAccessOffered() {
  return typeof window.showDirectoryPicker === 'function';
}

/// Asks the player for the game's folder. Throws AbortError when they close
/// the picker.
function pickGameFolder() {
  return window.showDirectoryPicker({ id: 'velmora-game-folder', mode: 'readwrite' });
}

function folderDatabase() {
  return new Promise((resolve, reject) => {
    const open = indexedDB.open(kFolderDatabase, 1);
    open.onupgradeneeded = () => open.result.createObjectStore(kFolderStore);
    open.onsuccess = () => resolve(open.result);
    open.onerror = () => reject(open.error);
  });
}

async function folderStoreRequest(mode, use) {
  const db = await folderDatabase();
  try {
    return await new Promise((resolve, reject) => {
      const request = use(db.transaction(kFolderStore, mode).objectStore(kFolderStore));
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => reject(request.error);
    });
  } finally {
    db.close();
  }
}

/// The folder chosen on an earlier visit, or null.
async function storedGameFolder() {
  try {
    return (await folderStoreRequest('readonly', (store) => store.get(kGameFolderKey))) ?? null;
  } catch (e) {
    return null;
  }
}

/// Keeps `folder` for later visits; a browser that refuses keeps it for
/// this visit only.
async function rememberGameFolder(folder) {
  try {
    await folderStoreRequest('readwrite', (store) => store.put(folder, kGameFolderKey));
  } catch (e) {
    // The folder still serves this visit.
  }
}

/// True when the page may write into `folder`; asks the player again when
/// the browser wants it (which needs the click of a button).
async function folderWritable(folder) {
  if (typeof folder.queryPermission !== 'function') return true;
  const mode = { mode: 'readwrite' };
  if ((await folder.queryPermission(mode)) === 'granted') return true;
  return (await folder.requestPermission(mode)) === 'granted';
}

/// The bytes of the file `name` in `folder`, or null when there is none.
async function readFolderFile(folder, name) {
  try {
    const file = await (await folder.getFileHandle(name)).getFile();
    return new Uint8Array(await file.arrayBuffer());
  } catch (e) {
    if (e.name === 'NotFoundError') return null;
    throw e;
  }
}

/// Writes `bytes` as the file `name` in `folder`. The browser writes into a
/// copy and puts it in place only when it is closed, so a failed write
/// leaves an older file whole; a file that the failed write created is
/// removed again. Throws the browser's error on failure.
async function writeFolderFile(folder, name, bytes) {
  const existed = (await readFolderFile(folder, name)) !== null;
  const handle = await folder.getFileHandle(name, { create: true });
  let writable = null;
  try {
    writable = await handle.createWritable();
    await writable.write(bytes);
    await writable.close();
  } catch (e) {
    if (writable) await writable.abort().catch(() => {});
    if (!existed) await folder.removeEntry(name).catch(() => {});
    throw e;
  }
}

/// Why a folder operation failed, in words for the player.
function folderErrorText(error) {
  const reasons = {
    NotAllowedError: 'the browser no longer allows writing there',
    NotFoundError: 'the folder is gone',
    QuotaExceededError: 'the disk is full',
    NoModificationAllowedError: 'the file is locked or read-only',
    InvalidStateError: 'the folder changed while writing',
  };
  return reasons[error.name] ? `${reasons[error.name]}: ${error.message}` : `${error.name}: ${error.message}`;
}
