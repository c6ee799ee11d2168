// Mystery seeds in the page: the options drawn from a weights file (one of
// the built-in sets, or one the visitor chooses or drops) by the generator's
// own code, exactly as `velmora --mystery FILE --seed N` draws them, and
// generated like any seed with their settings kept hidden until asked for.
'use strict';

// A chosen weights file: {name, bytes}, or null.
let mysteryFile = null;

function showMysteryError(message) {
  $('mystery-error').textContent = message;
  $('mystery-error').hidden = !message;
}

async function chooseMysteryFile(file) {
  // A longer file is refused by the weights reader from its first bytes.
  const bytes = new Uint8Array(await file.slice(0, 64 * 1024 + 1).arrayBuffer());
  mysteryFile = { name: file.name, bytes };
  const choice = $('mystery-set').querySelector('option[value=file]');
  choice.disabled = false;
  choice.textContent = `The chosen file: ${file.name}`;
  $('mystery-set').value = 'file';
  showMysteryError('');
}

// The weights of the chosen set: the site's copy of a built-in one, or the
// visitor's file.
async function mysteryWeights() {
  const set = $('mystery-set').value;
  if (set === 'file' && mysteryFile) return mysteryFile;
  const response = await fetch(`mystery/${set}.json`);
  return { name: `${set}.json`, bytes: new Uint8Array(await response.arrayBuffer()) };
}

async function generateMystery() {
  if (generating) return;
  const seed = seedValue();
  if (seed.error) {
    showMysteryError(seed.error);
    return;
  }
  const weights = await mysteryWeights();
  const drawn = JSON.parse(velmora.mystery(weights.name, weights.bytes, seed.value));
  if (drawn.error) {
    showMysteryError(drawn.error);
    return;
  }
  showMysteryError('');
  runGeneration(drawn.settings, true);
}

// Shows what a mystery seed drew: its settings string, its options in the
// form, its log and, for a Doors seed, its door map.
function showMysterySettings() {
  if (!hiddenSettings || generating) return;
  const settings = hiddenSettings;
  hiddenSettings = null;
  $('show-settings').disabled = true;
  loadSettings(settings);
  history.replaceState(null, '', '#' + settings);
  $('result-settings').textContent = settings;
  $('log').hidden = false;
  if (lastResult) drawResultDoorMap(lastResult);
}

function setupMystery() {
  $('mystery').addEventListener('click', generateMystery);
  $('show-settings').addEventListener('click', showMysterySettings);
  $('mystery-weights').addEventListener('change', () => {
    if ($('mystery-weights').files.length) chooseMysteryFile($('mystery-weights').files[0]);
  });
  acceptDroppedFile($('mystery-drop'), chooseMysteryFile);
}
