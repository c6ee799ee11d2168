// The page: the dialog's controls built from its template, the settings
// string in the address, remembered options and presets (presets.js),
// generation on a pool of workers (generation.js), downloads and the game
// folder (folder.js), the verifier, the tracker, and the offline version
// (offline.js). The rules, the files and the
// verdicts come from the generator's own code in velmora.wasm.
'use strict';

const $ = (id) => document.getElementById(id);
const kEnemies = 1005;
const kMaxItemListBytes = 64 * 1024;
let velmora;
let dialog;
let generation;
let generating = false;
// The last generation's result, for the game folder.
let lastResult = null;
// The settings string of a mystery seed while it is hidden, else null.
let hiddenSettings = null;

// --- The options ---

// Builds the form from the template: each group box becomes a fieldset
// holding the boxes and buttons that lie inside its rectangle.
function buildOptions() {
  const controls = JSON.parse(dialog.controls());
  const form = $('options');
  const groups = controls.filter((c) => c.kind === 'group');
  const inside = (c, g) => c.x >= g.x && c.y >= g.y && c.x < g.x + g.width && c.y < g.y + g.height;
  const fieldsets = new Map();
  for (const g of groups) {
    const fieldset = document.createElement('fieldset');
    const legend = document.createElement('legend');
    legend.textContent = g.text.replace(/:$/, '');
    fieldset.append(legend);
    form.append(fieldset);
    fieldsets.set(g, fieldset);
  }
  const other = document.createElement('fieldset');
  other.innerHTML = '<legend>Modifiers</legend>';
  let radioGroup = '';
  for (const c of controls) {
    if (c.kind !== 'radio' && c.kind !== 'check') continue;
    if (c.kind === 'radio' && c.groupStart) radioGroup = 'group-' + c.id;
    const input = document.createElement('input');
    input.type = c.kind === 'radio' ? 'radio' : 'checkbox';
    input.id = 'opt-' + c.id;
    input.dataset.id = c.id;
    if (c.kind === 'radio') input.name = radioGroup;
    input.addEventListener('change', () => {
      dialog.click(c.id);
      syncOptions();
    });
    const label = document.createElement('label');
    label.htmlFor = input.id;
    label.textContent = c.text;
    const line = document.createElement('div');
    line.className = 'option';
    line.append(input, label);
    const group = groups.find((g) => inside(c, g));
    (group ? fieldsets.get(group) : other).append(line);
  }
  form.append(other);
}

// Shows the dialog's state: checks and enable rules, and the settings string.
function syncOptions() {
  for (const c of JSON.parse(dialog.controls())) {
    const input = $('opt-' + c.id);
    if (!input) continue;
    input.checked = c.checked;
    input.disabled = !c.enabled || generating;
  }
  const seed = seedValue();
  $('settings').textContent = seed.error ? '' : dialog.settings(seed.value);
}

// The seed field: a number from 0 to 4294967295, or empty for the time in
// seconds, as the dialog takes it.
function seedValue() {
  const text = $('seed').value.trim();
  if (text === '') return { value: Math.floor(Date.now() / 1000) % 4294967296 };
  if (!/^[0-9]{1,10}$/.test(text) || Number(text) > 4294967295)
    return { error: `--seed: '${text}' is not a number from 0 to 4294967295` };
  return { value: Number(text) };
}

function showSettingsError(message) {
  $('settings-error').textContent = message;
  $('settings-error').hidden = !message;
}

// Sets every option and the seed from a settings string; a malformed one
// leaves the options at their defaults and shows the command line's message.
function loadSettings(text) {
  dialog.delete();
  dialog = new velmora.PageDialog();
  const loaded = JSON.parse(dialog.load(text));
  showSettingsError(loaded.error || '');
  $('seed').value = loaded.error ? '' : String(loaded.seed);
  $('settings-input').value = text;
  syncOptions();
}

// Sets the options from a preset's options through the dialog's own clicks,
// starting from its defaults, so that its enable rules hold.
function applyOptions(options) {
  dialog.delete();
  dialog = new velmora.PageDialog();
  const checked = (id) => JSON.parse(dialog.controls()).find((c) => c.id === id).checked;
  for (const [id, wanted] of presetChecks(options)) {
    if (checked(id) !== wanted) dialog.click(id);
  }
  showSettingsError('');
  syncOptions();
}

// The options shown, as a preset holds them.
function currentOptions() {
  const controls = JSON.parse(dialog.controls());
  return presetOptionsOf((id) => controls.find((c) => c.id === id).checked);
}

function pageLink(settings) {
  return location.href.replace(/#.*$/, '') + '#' + settings;
}

// --- Generation ---

function setGenerating(on) {
  generating = on;
  $('generate').disabled = on;
  $('cancel').disabled = !on;
  for (const id of ['load-settings', 'presets', 'defaults', 'save-preset', 'import-presets', 'reload'])
    $(id).disabled = on;
  showGameFolder();
  syncOptions();
}

function generate() {
  const seed = seedValue();
  if (seed.error) {
    showSettingsError(seed.error);
    return;
  }
  showSettingsError('');
  runGeneration(dialog.settings(seed.value), false);
}

// Generates the seed of a settings string. `hidden` keeps the options out of
// sight (a mystery seed): the log and the settings string wait for "Show
// settings", and the address and the form keep what they showed.
function runGeneration(settings, hidden) {
  hiddenSettings = hidden ? settings : null;
  $('show-settings').disabled = !hidden;
  $('log').hidden = hidden;
  $('log').textContent = '';
  $('attempts').textContent = '';
  $('final-label').hidden = true;
  $('facts').hidden = true;
  $('downloads').replaceChildren();
  $('door-map').hidden = true;
  lastResult = null;
  $('folder-status').textContent = '';
  $('replace').hidden = true;
  setGenerating(true);
  generation.start(settings, {
    log: (text) => {
      $('log').textContent += text;
    },
    attempts: (n) => {
      $('attempts').textContent = `${n} attempts`;
    },
    done: finish,
  });
}

function cancel() {
  if (!generating) return;
  generation.cancel();
  setGenerating(false);
  $('attempts').textContent = 'Cancelled: no seed file was made.';
}

function finish(result) {
  setGenerating(false);
  if (result.error) {
    showSettingsError(result.error);
    return;
  }
  $('log').textContent = result.log;
  $('attempts').textContent = `${result.attempts} item attempts, ${Math.round(result.milliseconds)} ms`;
  $('attempts').dataset.milliseconds = result.milliseconds;
  $('hash').textContent = result.hash;
  $('result-settings').textContent = hiddenSettings ? 'hidden' : result.settings;
  $('result-seed').textContent = String(result.seed);
  $('facts').hidden = false;
  $('final-label').textContent = JSON.parse(dialog.controls()).find((c) => c.id === 1038).text;
  $('final-label').hidden = !result.finalLabel;
  // A mystery seed's options stay out of the address, the field and the
  // remembered options until they are shown.
  if (!hiddenSettings) {
    history.replaceState(null, '', '#' + result.settings);
    $('settings-input').value = result.settings;
    rememberOptions();
  }
  lastResult = result;
  showGameFolder();
  for (const file of result.files) {
    const item = document.createElement('li');
    item.append(downloadLink(file.name, file.bytes, 'application/octet-stream', file.name));
    $('downloads').append(item);
  }
  if (!hiddenSettings) drawResultDoorMap(result);
  const itemList = result.files[0];
  trackList(itemList.name, itemList.bytes, -1, -1);
}

// The door map of a Doors seed, laid out by Graphviz in the page.
async function drawDoorMap(dot) {
  const viz = await (await import('./viz.js')).instance();
  const svg = viz.renderSVGElement(dot, { engine: 'neato' });
  svg.setAttribute('role', 'img');
  svg.setAttribute('aria-label', 'Door map of the seed: rooms and the doors between them');
  $('door-map-svg').replaceChildren(svg);
  $('door-map').hidden = false;
}

// --- Remembered options and presets ---

const kOptionsKey = 'velmora-options';
let userPresets = [];

// Keeps the options of the generation, not its seed, for the next visit.
function rememberOptions() {
  try {
    localStorage.setItem(kOptionsKey, JSON.stringify(currentOptions()));
  } catch (e) {
    // Storage may be full or refused; the next visit starts from defaults.
  }
}

// The options of the last generation of an earlier visit, or null.
function rememberedOptions() {
  try {
    const options = JSON.parse(localStorage.getItem(kOptionsKey) || 'null');
    return options && !presetOptionsProblem(options) ? options : null;
  } catch (e) {
    return null;
  }
}

function showPresets(chosen = '') {
  const select = $('presets');
  const placeholder = new Option('Choose a preset', '');
  const group = (label, presets, prefix) => {
    const g = document.createElement('optgroup');
    g.label = label;
    presets.forEach((p, i) => g.append(new Option(p.name, prefix + i)));
    return g;
  };
  select.replaceChildren(placeholder, group('Built in', kBuiltInPresets, 'built-in:'));
  if (userPresets.length) select.append(group('My presets', userPresets, 'mine:'));
  select.value = chosen;
  const preset = chosenPreset();
  $('preset-description').textContent = preset ? preset.description : '';
  $('rename-preset').disabled = $('delete-preset').disabled = !chosenUserPreset();
}

function chosenPreset() {
  const [kind, index] = $('presets').value.split(':');
  if (kind === 'built-in') return kBuiltInPresets[Number(index)];
  if (kind === 'mine') return userPresets[Number(index)];
  return null;
}

function chosenUserPreset() {
  return $('presets').value.startsWith('mine:') ? userPresets[Number($('presets').value.slice(5))] : null;
}

function presetsMessage(text, error = false) {
  $('presets-message').textContent = text;
  $('presets-message').classList.toggle('error', error);
}

// Stores the player's presets as `presets`; on failure keeps the old ones.
function storePresets(presets, done, chosen) {
  const problem = saveUserPresets(presets);
  if (problem) {
    presetsMessage(`Presets not saved: ${problem}.`, true);
    return;
  }
  userPresets = presets;
  showPresets(chosen);
  presetsMessage(done);
}

function takenNames(except = null) {
  return new Set([...kBuiltInPresets, ...userPresets].filter((p) => p !== except).map((p) => p.name));
}

function savePreset() {
  const name = $('preset-name').value;
  const problem = presetNameProblem(name, takenNames());
  if (problem) return presetsMessage(`Preset not saved: ${problem}.`, true);
  const preset = { name, description: 'My preset.', options: currentOptions() };
  storePresets([...userPresets, preset], `Saved the preset "${name}".`, 'mine:' + userPresets.length);
}

function renamePreset() {
  const preset = chosenUserPreset();
  const name = $('preset-name').value;
  const problem = presetNameProblem(name, takenNames(preset));
  if (problem) return presetsMessage(`Preset not renamed: ${problem}.`, true);
  const index = userPresets.indexOf(preset);
  const renamed = userPresets.map((p) => (p === preset ? { ...p, name } : p));
  storePresets(renamed, `Renamed "${preset.name}" to "${name}".`, 'mine:' + index);
}

// A link that downloads `data` (bytes or text) as the file `name`.
function downloadLink(name, data, type, text = '') {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([data], { type }));
  link.download = name;
  link.textContent = text;
  return link;
}

// Draws the door map of a generation's result, when it made one.
function drawResultDoorMap(result) {
  const map = result.files.find((file) => file.name.endsWith('.dot'));
  if (map) drawDoorMap(new TextDecoder().decode(map.bytes));
}

function deletePreset() {
  const preset = chosenUserPreset();
  storePresets(userPresets.filter((p) => p !== preset), `Deleted the preset "${preset.name}".`);
}

function exportPresets() {
  const link = downloadLink('VelmoraPresets.json', presetsFileText(userPresets), 'application/json');
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 0);
}

// Adds the presets of a file to the player's; one of the same name is
// replaced. A file that cannot be read as presets changes nothing.
async function importPresets(file) {
  const refuse = (why) => presetsMessage(`${file.name} was not imported: ${why}.`, true);
  if (file.size > kMaxPresetFileBytes) return refuse(`the file is larger than ${kMaxPresetFileBytes / 1024} KiB`);
  const parsed = parsePresets(await file.text());
  if (parsed.error) return refuse(parsed.error);
  const names = new Set(parsed.presets.map((p) => p.name));
  const merged = [...userPresets.filter((p) => !names.has(p.name)), ...parsed.presets];
  if (merged.length > kMaxPresets) return refuse(`that would make more than ${kMaxPresets} presets`);
  storePresets(merged, `Imported ${parsed.presets.length} presets from ${file.name}.`);
}

// --- The game folder ---

let gameFolder = null;
let answerReplace = null;

/// Uses `folder` (a directory handle) as the game folder, now and on later
/// visits.
async function useGameFolder(folder) {
  gameFolder = folder;
  await rememberGameFolder(folder);
  showGameFolder();
}

function showGameFolder() {
  $('folder-name').textContent = gameFolder ? `Game folder: ${gameFolder.name}` : '';
  $('save-to-folder').disabled = !gameFolder || !lastResult || generating;
}

async function chooseGameFolder() {
  try {
    await useGameFolder(await pickGameFolder());
  } catch (e) {
    if (e.name !== 'AbortError') $('folder-status').textContent = `No folder chosen: ${folderErrorText(e)}.`;
  }
}

// Asks whether to replace the seed files the folder holds; resolves true or
// false with the player's answer.
function askReplace(question) {
  $('replace-question').textContent = question;
  $('replace').hidden = false;
  $('replace-yes').focus();
  return new Promise((resolve) => {
    answerReplace = (yes) => {
      answerReplace = null;
      $('replace').hidden = true;
      resolve(yes);
    };
  });
}

// Writes the item list and then the cheat sheet of the last generation
// into the game folder under the game's names, as the downloads' bytes.
async function saveToGameFolder() {
  const result = lastResult;
  const folder = gameFolder;
  const [itemList, cheatSheet] = result.files;
  const status = (text) => {
    $('folder-status').textContent = text;
  };
  $('save-to-folder').disabled = true;
  try {
    if (!(await folderWritable(folder))) return status(`The browser did not allow writing into ${folder.name}.`);
    const oldList = await readFolderFile(folder, itemList.name);
    const oldSheet = await readFolderFile(folder, cheatSheet.name);
    const same = (a, b) => a && a.length === b.length && a.every((x, i) => x === b[i]);
    if ((oldList && !same(oldList, itemList.bytes)) || (oldSheet && !same(oldSheet, cheatSheet.bytes))) {
      const there = oldList
        ? `${itemList.name} there holds the seed ${velmora.itemListHash(oldList)}`
        : `${cheatSheet.name} there belongs to another seed`;
      const question = `${folder.name} already has this game's seed files: ${there}; the new seed is ${result.hash}. Replace them?`;
      if (!(await askReplace(question))) return status(`Kept the files in ${folder.name}; nothing was written.`);
    }
    for (const file of [itemList, cheatSheet]) {
      try {
        await writeFolderFile(folder, file.name, file.bytes);
      } catch (e) {
        const rest = file === itemList ? '; the cheat sheet was not written either' : '';
        return status(`FAILED: could not write ${file.name} into ${folder.name} (${folderErrorText(e)})${rest}.`);
      }
    }
    status(`Saved ${itemList.name} and ${cheatSheet.name} into ${folder.name}.`);
  } catch (e) {
    status(`FAILED: could not use ${folder.name} (${folderErrorText(e)}).`);
  } finally {
    showGameFolder();
  }
}

// Hands the first file dropped on `zone` to `handle`, marking the zone while
// a file is dragged over it.
function acceptDroppedFile(zone, handle) {
  zone.addEventListener('dragover', (e) => {
    e.preventDefault();
    zone.classList.add('over');
  });
  zone.addEventListener('dragleave', () => zone.classList.remove('over'));
  zone.addEventListener('drop', (e) => {
    e.preventDefault();
    zone.classList.remove('over');
    if (e.dataTransfer.files.length) handle(e.dataTransfer.files[0]);
  });
}

// --- Verify ---

let verified = null;

async function verifyFile(file) {
  $('track-file').hidden = true;
  verified = null;
  // A longer file is refused by the verifier from its first bytes alone.
  const bytes = new Uint8Array(await file.slice(0, kMaxItemListBytes + 1).arrayBuffer());
  const character = Number($('verify-character').value);
  const difficulty = Number($('verify-difficulty').value);
  const verdict = JSON.parse(velmora.verify(file.name, bytes, character, difficulty));
  $('verify-result').textContent = verdict.text;
  $('verify-result').dataset.status = verdict.status;
  if (verdict.status !== 2) {
    verified = { name: file.name, bytes, character, difficulty };
    $('track-file').hidden = false;
  }
}

// --- Tracker ---

const kTrackerKey = 'velmora-tracker';
let tracker = null;
let tracked = null;

// Character and difficulty of an item list: chosen, or from its name.
function selectionOf(name, character, difficulty) {
  const m = /^ItemList(Jill|Chris)(Normal|Hard)/.exec(name);
  return {
    character: character >= 0 ? character : m && m[1] === 'Chris' ? 1 : 0,
    difficulty: difficulty >= 0 ? difficulty : m && m[2] === 'Hard' ? 1 : 0,
  };
}

function trackList(name, bytes, character, difficulty) {
  const selection = selectionOf(name, character, difficulty);
  const text = Array.from(bytes, (b) => String.fromCharCode(b)).join('');
  tracked = { name, text, ...selection, held: [], revealed: [] };
  saveTracker();
  showTracker();
}

function saveTracker() {
  try {
    localStorage.setItem(kTrackerKey, JSON.stringify(tracked));
  } catch (e) {
    // Storage may be full or refused; the tracker still works until reload.
  }
}

function showTracker() {
  if (tracker) tracker.delete();
  const bytes = Uint8Array.from(tracked.text, (c) => c.charCodeAt(0));
  tracker = new velmora.Tracker(bytes, tracked.character, tracked.difficulty);
  const items = $('tracker-items');
  items.replaceChildren();
  const legend = document.createElement('legend');
  legend.textContent = 'Items I hold';
  items.append(legend);
  const problem = tracker.error();
  $('tracker-status').textContent = problem ? `${tracked.name}: ${problem}` : `Tracking ${tracked.name}.`;
  items.hidden = !!problem;
  $('tracker-open').replaceChildren();
  if (problem) return;
  const tables = JSON.parse(tracker.tables());
  const named = (name) => tables.items.filter((i) => i.name === name).length;
  for (const item of tables.items) {
    const input = document.createElement('input');
    input.type = 'checkbox';
    input.id = 'hold-' + item.id;
    input.checked = tracked.held.includes(item.id);
    input.addEventListener('change', () => {
      tracked.held = tracked.held.filter((id) => id !== item.id);
      if (input.checked) tracked.held.push(item.id);
      saveTracker();
      showOpen(tables);
    });
    const label = document.createElement('label');
    label.htmlFor = input.id;
    // Two items of one name are told apart by their ids.
    label.textContent = named(item.name) > 1 ? `${item.name} (item ${item.id})` : item.name;
    const line = document.createElement('div');
    line.className = 'option';
    line.append(input, label);
    items.append(line);
  }
  showOpen(tables);
}

// The rooms and item locations the ticked items open, room by room; what a
// location holds shows only once the player reveals it.
function showOpen(tables) {
  const open = JSON.parse(tracker.open(JSON.stringify(tracked.held)));
  const rooms = new Map();
  for (const slot of open) {
    const s = tables.slots[slot];
    if (!rooms.has(s.room)) rooms.set(s.room, []);
    rooms.get(s.room).push(s);
  }
  const list = document.createElement('ul');
  list.id = 'open-rooms';
  for (const [room, slots] of rooms) {
    const item = document.createElement('li');
    item.innerHTML = '<strong></strong><ul></ul>';
    item.querySelector('strong').textContent = room;
    for (const s of slots) {
      const line = document.createElement('li');
      line.dataset.slot = s.slot;
      line.textContent = `Location of ${s.original} `;
      if (tracked.revealed.includes(s.slot)) {
        line.append(`holds ${tracker.reveal(s.slot)}`);
      } else {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = 'Reveal';
        button.setAttribute('aria-label', `Reveal the location of ${s.original} in ${room}`);
        button.addEventListener('click', () => {
          tracked.revealed.push(s.slot);
          saveTracker();
          showOpen(tables);
        });
        line.append(button);
      }
      item.querySelector('ul').append(line);
    }
    list.append(item);
  }
  const summary = document.createElement('p');
  summary.id = 'open-summary';
  summary.textContent = `${open.length} of ${tables.slots.length} item locations in ${rooms.size} rooms are open.`;
  $('tracker-open').replaceChildren(summary, list);
}

// --- Start ---

createVelmora().then((module) => {
  velmora = module;
  dialog = new velmora.PageDialog();
  buildOptions();
  generation = new Generation();
  const version = JSON.parse(velmora.version());
  $('version').textContent = `Version ${version.version}, commit ${version.commit} (${version.date})`;
  userPresets = loadUserPresets();
  showPresets();
  // A link's settings win over the options remembered from the last visit.
  const fromAddress = decodeURIComponent(location.hash.slice(1));
  const remembered = rememberedOptions();
  if (fromAddress) loadSettings(fromAddress);
  else if (remembered) applyOptions(remembered);
  else syncOptions();
  $('presets').addEventListener('change', () => {
    const preset = chosenPreset();
    showPresets($('presets').value);
    if (preset) applyOptions(preset.options);
  });
  $('defaults').addEventListener('click', () => {
    applyOptions({});
    $('seed').value = '';
    showPresets();
    history.replaceState(null, '', location.pathname);
    syncOptions();
  });
  $('save-preset').addEventListener('click', savePreset);
  $('rename-preset').addEventListener('click', renamePreset);
  $('delete-preset').addEventListener('click', deletePreset);
  $('export-presets').addEventListener('click', exportPresets);
  $('import-presets').addEventListener('change', () => {
    const input = $('import-presets');
    if (input.files.length) importPresets(input.files[0]).finally(() => {
      input.value = '';
    });
  });
  if (folderAccessOffered()) {
    storedGameFolder().then((folder) => {
      if (folder && !gameFolder) gameFolder = folder;
      showGameFolder();
    });
    $('choose-folder').addEventListener('click', chooseGameFolder);
    $('save-to-folder').addEventListener('click', saveToGameFolder);
    $('replace-yes').addEventListener('click', () => answerReplace?.(true));
    $('replace-no').addEventListener('click', () => answerReplace?.(false));
  } else {
    $('choose-folder').hidden = $('save-to-folder').hidden = true;
    $('folder-status').textContent = 'Ostrevant.exe reads the item list from the game\'s own folder, the one that '
      + 'holds the game\'s program: move the downloaded item list there (this browser cannot write into a folder).';
  }
  registerOffline((apply) => {
    $('update').hidden = false;
    $('reload').onclick = async () => {
      if (generating) return;
      // Workers still starting hold requests to the old version, which keep
      // it from being replaced.
      await generation.pool.ready;
      apply();
    };
  });
  window.addEventListener('hashchange', () => {
    const text = decodeURIComponent(location.hash.slice(1));
    if (text && text !== $('settings').textContent) loadSettings(text);
  });
  $('seed').addEventListener('input', syncOptions);
  $('load-settings').addEventListener('click', () => loadSettings($('settings-input').value.trim()));
  $('copy-link').addEventListener('click', async () => {
    const link = pageLink($('settings').textContent);
    history.replaceState(null, '', '#' + $('settings').textContent);
    try {
      await navigator.clipboard.writeText(link);
      $('copy-link').textContent = 'Link copied';
    } catch (e) {
      $('copy-link').textContent = 'Copy this link from the address bar';
    }
  });
  $('generate').addEventListener('click', generate);
  $('cancel').addEventListener('click', cancel);
  $('verify-file').addEventListener('change', () => {
    if ($('verify-file').files.length) verifyFile($('verify-file').files[0]);
  });
  acceptDroppedFile($('drop'), verifyFile);
  $('track-file').addEventListener('click', () => {
    if (verified) trackList(verified.name, verified.bytes, verified.character, verified.difficulty);
  });
  try {
    const saved = JSON.parse(localStorage.getItem(kTrackerKey) || 'null');
    if (saved && typeof saved.text === 'string') {
      tracked = saved;
      showTracker();
    }
  } catch (e) {
    localStorage.removeItem(kTrackerKey);
  }
  setupMystery();
  setupStats();
  document.body.dataset.ready = 'true';
});
