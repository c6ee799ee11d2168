// Option sets by name: the built-in presets, the player's own in local
// storage, and their JSON file. A preset's options are named as the command
// line names them ("character": "chris", "locks": true, "kinds":
// ["dogs", "bees"], ...); an option left out keeps the dialog's default.
'use strict';

/// The built-in presets, shown before the player's own.
const kBuiltInPresets = [
  {
    name: 'Dialog defaults',
    description: 'Jill, Normal, items only: the dialog as it opens.',
    options: {},
  },
  {
    name: 'Everything randomized',
    description: 'Items, enemies of every kind with many special spawns, and locks.',
    options: { enemies: true, locks: true, tyrant: 'many', yawn: 'many', lisa: 'many', 'tyrant-type': 'random' },
  },
  {
    name: 'Chris Hard with Locks',
    description: 'Chris on Hard, items and locks randomized.',
    options: { character: 'chris', difficulty: 'hard', locks: true },
  },
  {
    name: 'Doors and enemies',
    description: 'A rewired map with enemies randomized (always Normal, without locks).',
    options: { doors: true, enemies: true },
  },
];

const kSpawnChoices = ['one', 'many', 'none'];
/// Each option: the values it takes and the control each value checks. A
/// list option ("kinds", "remove") checks the control of every value it names.
const kPresetOptions = {
  character: { choices: { jill: 1000, chris: 1001 } },
  difficulty: { choices: { normal: 1002, hard: 1003 } },
  items: { box: 1004 },
  enemies: { box: 1005 },
  kinds: {
    list: { zombies: 1008, dogs: 1009, hunters: 1010, spiders: 1011, sharks: 1012, bees: 1013, chimera: 1014, 'elder-crimson-heads': 1015 },
    panel: true,
  },
  tyrant: { choices: Object.fromEntries(kSpawnChoices.map((c, i) => [c, 1020 + i])), panel: true },
  yawn: { choices: Object.fromEntries(kSpawnChoices.map((c, i) => [c, 1023 + i])), panel: true },
  lisa: { choices: Object.fromEntries(kSpawnChoices.map((c, i) => [c, 1027 + i])), panel: true },
  'tyrant-type': { choices: { fast: 1031, slow: 1032, random: 1033 }, panel: true },
  remove: { list: { healing: 1016, ammo: 1017, ink: 1018, defence: 1019 } },
  'swap-sdg': { box: 1034 },
  'armed-capsule': { box: 1035 },
  locks: { box: 1007 },
  doors: { box: 1006 },
};
const kPresetsKey = 'velmora-presets';
const kMaxPresetFileBytes = 64 * 1024;
const kMaxPresets = 100;
const kMaxPresetNameLength = 60;

/// The problem with `options` as a preset's options, or '' when they are
/// sound: an object whose every key is an option above with a value it takes.
function presetOptionsProblem(options) {
  if (typeof options !== 'object' || options === null || Array.isArray(options)) return 'its options are not an object';
  for (const [key, value] of Object.entries(options)) {
    const option = kPresetOptions[key];
    if (!option) return `"${key}" is not an option`;
    if (option.box && typeof value !== 'boolean') return `"${key}" must be true or false`;
    if (option.choices && !Object.hasOwn(option.choices, value))
      return `"${key}" must be one of ${Object.keys(option.choices).join(', ')}`;
    if (option.list && (!Array.isArray(value) || !value.every((v) => Object.hasOwn(option.list, v))))
      return `"${key}" must be a list of ${Object.keys(option.list).join(', ')}`;
  }
  return '';
}

/// The checks that `options` asks of a dialog that shows its defaults, as
/// [control id, checked] in the order a player would click them: the enemy
/// panel after "Enemies", "Locks" and "Doors" last so that their rules have
/// the last word. Options left out are not in the list.
function presetChecks(options) {
  const checks = [];
  for (const [key, option] of Object.entries(kPresetOptions)) {
    if (!(key in options) || (option.panel && !options.enemies)) continue;
    if (option.box) checks.push([option.box, options[key]]);
    if (option.choices) checks.push([option.choices[options[key]], true]);
    if (option.list) for (const [name, id] of Object.entries(option.list)) checks.push([id, options[key].includes(name)]);
  }
  return checks;
}

/// The options the dialog's controls show, as a preset holds them; enemy
/// panel options only with "Enemies".
function presetOptionsOf(isChecked) {
  const options = {};
  for (const [key, option] of Object.entries(kPresetOptions)) {
    if (option.panel && !isChecked(1005)) continue;
    if (option.box) options[key] = isChecked(option.box);
    if (option.choices) options[key] = Object.keys(option.choices).find((c) => isChecked(option.choices[c]));
    if (option.list) options[key] = Object.keys(option.list).filter((name) => isChecked(option.list[name]));
  }
  return options;
}

/// The player's presets from local storage ([] when there are none or they
/// cannot be read).
function loadUserPresets() {
  try {
    const parsed = parsePresets(localStorage.getItem(kPresetsKey) || '{"presets": []}');
    return parsed.presets || [];
  } catch (e) {
    return [];
  }
}

/// Keeps the player's presets in local storage. Returns '' or why it failed.
function saveUserPresets(presets) {
  try {
    localStorage.setItem(kPresetsKey, presetsFileText(presets));
    return '';
  } catch (e) {
    return `the browser refused to store them (${e.name})`;
  }
}

/// The text of a presets file: {"presets": [{name, description, options}]}.
function presetsFileText(presets) {
  return JSON.stringify({ presets: presets.map(({ name, description, options }) => ({ name, description, options })) }, null, 2) + '\n';
}

/// Reads a presets file's text. Returns {presets} or {error: why it is
/// refused}: not JSON, too large, not a list of named presets, a name twice
/// or a built-in name, or an unknown option or value.
function parsePresets(text) {
  if (text.length > kMaxPresetFileBytes) return { error: `the file is larger than ${kMaxPresetFileBytes / 1024} KiB` };
  let data;
  try {
    data = JSON.parse(text);
  } catch (e) {
    return { error: `the file is not JSON (${e.message})` };
  }
  if (typeof data !== 'object' || data === null || !Array.isArray(data.presets))
    return { error: 'the file has no "presets" list' };
  if (data.presets.length > kMaxPresets) return { error: `the file holds more than ${kMaxPresets} presets` };
  const names = new Set(kBuiltInPresets.map((p) => p.name));
  const presets = [];
  for (const [index, preset] of data.presets.entries()) {
    const where = `preset ${index + 1}`;
    if (typeof preset !== 'object' || preset === null) return { error: `${where} is not an object` };
    const problem = presetNameProblem(preset.name, names);
    if (problem) return { error: `${where}: ${problem}` };
    if (preset.description !== undefined && typeof preset.description !== 'string')
      return { error: `${where} ("${preset.name}"): its description is not text` };
    const optionsProblem = presetOptionsProblem(preset.options);
    if (optionsProblem) return { error: `${where} ("${preset.name}"): ${optionsProblem}` };
    names.add(preset.name);
    presets.push({ name: preset.name, description: preset.description || '', options: preset.options });
  }
  return { presets };
}

/// The problem with `name` as a new preset's name beside the names `taken`,
/// or ''.
function presetNameProblem(name, taken) {
  if (typeof name !== 'string' || name.trim() === '') return 'it has no name';
  if (name !== name.trim()) return `the name "${name}" starts or ends with spaces`;
  if (name.length > kMaxPresetNameLength) return `the name "${name.slice(0, 20)}..." is longer than ${kMaxPresetNameLength} characters`;
  if (taken.has(name)) return `the name "${name}" is taken`;
  return '';
}
