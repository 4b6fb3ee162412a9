// Tokenizes the stored scenario's two description texts, as `railscen sources` writes them,
// with the editor grammars in editors/, and checks every line against the compiler's own
// keyword rules restated here: keyword fields carry the scope of their record kind, section
// lines the section scope, numbers the numeric scope, texts a string scope, comment lines the
// comment scope, and no field of a record line is left without a scope.
//
// Usage: node tokenize.mjs RAILSCEN   (the built railscen executable)

import {execFileSync} from 'node:child_process';
import {mkdtempSync, readFileSync, readdirSync, rmSync} from 'node:fs';
import {createRequire} from 'node:module';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

import {grammarFiles, grammarText} from '../../editors/generate.mjs';

const require = createRequire(import.meta.url);
function load(name) {
  try {
    return require(name);
  } catch (e) {
    console.error(`${name} is not installed: run scripts/install-deps ` +
                  '(or npm ci --prefix tests/grammar)');
    process.exit(1);
  }
}
const vsctm = load('vscode-textmate');
const oniguruma = load('vscode-oniguruma');

const here = dirname(fileURLToPath(import.meta.url));
const editors = join(here, '..', '..', 'editors');

const failures = [];
function fail(where, message) {
  failures.push(`${where}: ${message}`);
}

// ---------------------------------------------------------------------------------------------
// The compiler's keyword tests, one function per section, in the compiler's order. Any case
// lowers A to Z only.

const lower = (s) => s.replace(/[A-Z]/g, (c) => c.toLowerCase());
const ci = (field, text) => lower(field).includes(text);
const ex = (field, text) => field.includes(text);

function generalKinds(kw) {
  const kinds = [];
  if (ci(kw, 'percorso') && ci(kw, 'lunghezza')) kinds.push('line-length');
  if (ex(kw, 'tre') && ex(kw, 'progressiva')) kinds.push('progressive.three');
  if (ex(kw, 'due') && ex(kw, 'progressiva')) kinds.push('progressive.two');
  if (ex(kw, 'uno') && ex(kw, 'progressiva')) kinds.push('progressive.one');
  if (ex(kw, 'sfondo') && ex(kw, 'uno')) kinds.push('background.one');
  if (ex(kw, 'sfondo') && ex(kw, 'due')) kinds.push('background.two');
  if (ex(kw, 'sfondo') && ex(kw, 'tre')) kinds.push('background.three');
  if (ex(kw, 'segnali') && ex(kw, 'ripetizione')) kinds.push('signal-repetition');
  return kinds;
}

function objectKinds(kw) {
  const kinds = [];
  if (ci(kw, 'pendenza')) kinds.push('gradient');
  if (ci(kw, 'curva')) kinds.push('curve');
  if (ci(kw, 'montagna')) kinds.push('mountain');
  if (ci(kw, 'indicatori_v')) kinds.push('speed-board');
  if (ci(kw, 'cartello') && ci(kw, 'indicat')) kinds.push('sign-board');
  return kinds;
}

function trainKinds(kw) {
  const kinds = [];
  if (ci(kw, 'frenata') && ci(kw, 'massa')) kinds.push('braked-mass');
  if (ci(kw, 'vetture')) kinds.push('cars');
  if (ci(kw, 'velocit')) kinds.push('speed-limit');
  if (ci(kw, 'aderenza')) kinds.push('adhesion');
  if (ci(kw, 'orologio')) kinds.push('clock');
  if (ci(kw, 'sabbia')) kinds.push('sand');
  if (ci(kw, 'segnale')) kinds.push('signal');
  if (ci(kw, 'rallentamento')) kinds.push('slowdown');
  if (ci(kw, 'abbattimento')) kinds.push('code-row');
  if (ci(kw, 'stazione')) kinds.push('station');
  return kinds;
}

// Fields after the keyword: n a number, t a text.
const fieldsOf = {
  'line-length': 'n', 'progressive.three': 'nnn', 'progressive.two': 'nnn',
  'progressive.one': 'nnn', 'background.one': 'n', 'background.two': 'n',
  'background.three': 'n', 'signal-repetition': 'nn', 'gradient': 'nn', 'curve': 'nn',
  'mountain': 'nnn', 'speed-board': 'nnnnnnnnn', 'sign-board': 'nt', 'braked-mass': 'n',
  'cars': 'n', 'speed-limit': 'nn', 'adhesion': 'nn', 'clock': 'nnn', 'sand': 'n',
  'signal': 'nnnnnnnnnnn', 'slowdown': 'nnnnnn', 'code-row': 'nn',
  'station': 'nnnnnnnnnnnnnnnnt',
};

// The scope a kind's keyword field gets: a curve without a class digit and a signal
// repetition without a code count are rejected by the compiler and shown as invalid.
function keywordScope(kind, kw) {
  if (kind === 'curve' && !/[1-6]/.test(kw)) return 'invalid.illegal.curve-without-class.railscen';
  if (kind === 'signal-repetition' && !/[49]/.test(kw)) {
    return 'invalid.illegal.signal-repetition-without-count.railscen';
  }
  return `keyword.other.${kind}.railscen`;
}

// ---------------------------------------------------------------------------------------------
// The field reader's rules on one line: ranges [start, end) of field values.

class LineFields {
  constructor(line, pos) {
    this.line = line;
    this.pos = pos;
  }
  skipBlanks() {
    while (this.pos < this.line.length && this.line[this.pos] === ' ') ++this.pos;
  }
  skipComma() {
    if (this.line[this.pos] === ',') ++this.pos;
  }
  quoted() {
    const close = this.line.indexOf('"', this.pos + 1);
    const end = close < 0 ? this.line.length : close;
    const range = [this.pos + 1, end];
    this.pos = close < 0 ? this.line.length : close + 1;
    while (this.pos < this.line.length && this.line[this.pos] !== ',') ++this.pos;
    this.skipComma();
    return range;
  }
  text() {
    this.skipBlanks();
    if (this.line[this.pos] === '"') return {range: this.quoted(), quoted: true};
    const start = this.pos;
    while (this.pos < this.line.length && this.line[this.pos] !== ',') ++this.pos;
    let end = this.pos;
    while (end > start && this.line[end - 1] === ' ') --end;
    this.skipComma();
    return {range: [start, end], quoted: false};
  }
  number() {
    this.skipBlanks();
    if (this.line[this.pos] === '"') {
      let [start, end] = this.quoted();
      while (start < end && this.line[start] === ' ') ++start;
      while (end > start && this.line[end - 1] === ' ') --end;
      return [start, end];
    }
    const start = this.pos;
    while (this.pos < this.line.length && !' ,'.includes(this.line[this.pos])) ++this.pos;
    const end = this.pos;
    this.skipBlanks();
    this.skipComma();
    return [start, end];
  }
  atEnd() {
    return this.pos >= this.line.length;
  }
}

function firstField(line, start) {
  const comma = line.indexOf(',', start);
  const end = comma < 0 ? line.length : comma;
  let a = start;
  let b = end;
  while (a < b && line[a] === ' ') ++a;
  while (b > a && line[b - 1] === ' ') --b;
  return {text: line.slice(start, end), range: [a, b], next: comma < 0 ? line.length : comma + 1};
}

// ---------------------------------------------------------------------------------------------
// What each line is, by the reader's rules, line by line.

function classify(line, start, part) {
  const kindsOf = part === 'general' ? generalKinds : part === 'object' ? objectKinds : trainKinds;
  const field = firstField(line, start);
  if (field.text.includes('-')) {
    // A passed-over comment field; the line is a comment unless a later field is a keyword.
    const rest = line.slice(field.next).split(',');
    if (rest.some((f) => !f.includes('-') && kindsOf(f).length > 0)) {
      return {what: 'commented', comment: [start, field.next - 1],
              record: classify(line, field.next, part)};
    }
    return {what: 'comment'};
  }
  const kinds = kindsOf(field.text);
  if (kinds.length > 0) {
    return {what: 'record', kind: kinds[0], keyword: field.range, args: field.next,
            scope: keywordScope(kinds[0], field.text)};
  }
  if (field.text.includes('[') && field.text.includes(']')) {
    return {what: 'section', name: field.range};
  }
  if (field.text.trim() === '') return {what: 'blank'};
  return {what: 'unrecognised', keyword: field.range};
}

function classifyFile(lines, format) {
  let part = 'preamble';
  return lines.map((line) => {
    if (part === 'preamble') {
      if (!lower(firstField(line, 0).text).includes('[generale]')) return {what: 'preamble'};
      part = format === 'line' ? 'general' : 'train';
      return {what: 'section', name: firstField(line, 0).range};
    }
    const c = classify(line, 0, part);
    if (part === 'general' && c.what === 'section') part = 'object';
    return c;
  });
}

// ---------------------------------------------------------------------------------------------
// Checks of one tokenized line.

const counts = {lines: 0, keywords: 0, numbers: 0, texts: 0, sections: 0, comments: 0,
                preamble: 0, unrecognised: 0};

function scopesAt(tokens, i) {
  const token = tokens.find((t) => t.startIndex <= i && i < t.endIndex);
  return token ? token.scopes : [];
}

function checkRange(where, line, tokens, [a, b], test, what) {
  for (let i = a; i < b; ++i) {
    if (line[i] === ' ') continue;
    const scopes = scopesAt(tokens, i);
    if (!test(scopes)) {
      fail(where, `${what} at column ${i + 1} ("${line.slice(a, b)}") has ${scopes.join(' ')}`);
      return;
    }
  }
}

const has = (scope) => (scopes) => scopes.includes(scope);
const hasPrefix = (prefix) => (scopes) => scopes.some((s) => s.startsWith(prefix));

function checkRecord(where, line, tokens, c) {
  const {kind, keyword, scope} = c;
  checkRange(where, line, tokens, keyword,
             (s) => s.includes(scope) && s.filter((x) => x.startsWith('keyword.')).length <=
                 (scope.startsWith('keyword.') ? 1 : 0),
             `keyword of a ${kind} record`);
  ++counts.keywords;
  const reader = new LineFields(line, c.args);
  for (const f of fieldsOf[kind]) {
    if (reader.atEnd()) break;
    if (f === 'n') {
      const range = reader.number();
      if (range[0] === range[1]) continue;
      const digits = /^[-+]?\d+$/.test(line.slice(...range));
      const scope = digits ? 'constant.numeric.railscen' : 'invalid.illegal.not-a-number.railscen';
      checkRange(where, line, tokens, range, has(scope), digits ? 'number' : 'malformed number');
      ++counts.numbers;
    } else {
      const {range, quoted} = reader.text();
      if (range[0] === range[1]) continue;
      checkRange(where, line, tokens, range,
                 has(quoted ? 'string.quoted.double.railscen' : 'string.unquoted.railscen'),
                 'text');
      ++counts.texts;
    }
  }
}

// Every character that is not a blank carries a scope of its own, beyond the file's and the
// section's.
function checkAllScoped(where, line, tokens, from = 0) {
  checkRange(where, line, tokens, [from, line.length],
             (s) => s.some((x) => !x.startsWith('source.') && !x.startsWith('meta.')),
             'unscoped text');
}

function checkLine(where, line, tokens, c) {
  switch (c.what) {
    case 'preamble':
      checkRange(where, line, tokens, [0, line.length],
                 has('comment.block.preamble.railscen'), 'preamble');
      ++counts.preamble;
      break;
    case 'comment':
      checkRange(where, line, tokens, [0, line.length], has('comment.line.railscen'),
                 'comment line');
      ++counts.comments;
      break;
    case 'commented':
      checkRange(where, line, tokens, c.comment, has('comment.line.railscen'), 'comment field');
      ++counts.comments;
      checkLine(where, line, tokens, c.record);
      return;
    case 'section':
      checkRange(where, line, tokens, c.name, has('entity.name.section.railscen'), 'section');
      ++counts.sections;
      break;
    case 'record':
      checkRecord(where, line, tokens, c);
      break;
    case 'unrecognised':
      checkRange(where, line, tokens, [0, line.length],
                 (s) => !s.some((x) => x.startsWith('keyword.')), 'no keyword');
      checkRange(where, line, tokens, c.keyword,
                 has('invalid.illegal.unrecognised-keyword.railscen'), 'unrecognised keyword');
      ++counts.unrecognised;
      break;
    default:
      return;
  }
  checkAllScoped(where, line, tokens);
}

// ---------------------------------------------------------------------------------------------
// Hand-written lines put into copies of the stored texts, each after the first line that
// equals `after`, with the reading they must get.

const handLines = [
  {format: 'line', after: '[generale]', text: '- tratta rifatta nel 2024, 12, 500',
   expect: 'comment'},
  {format: 'line', after: '[generale]', text: 'LUNGHEZZA PERCORSO,    105500',
   expect: 'line-length'},
  {format: 'line', after: '[generale]', text: 'Progressiva chilometrica uno,  0,  -2000,  0',
   expect: 'unrecognised'},
  {format: 'line', after: '[generale]', text: 'ripetizione segnali codici,  500,  104250',
   expect: 'signal-repetition'},
  {format: 'line', after: '[generale]', text: '-, lunghezza percorso,  "105500"',
   expect: 'commented line-length'},
  {format: 'line', after: '[pendenze]', text: 'pendanza,  950,   1', expect: 'unrecognised'},
  {format: 'line', after: '[pendenze]', text: 'lunghezza percorso,  950', expect: 'unrecognised'},
  {format: 'line', after: '[pendenze]', text: '-- pendenze rilevate nel 2019 --',
   expect: 'comment'},
  {format: 'line', after: '[pendenze]', text: '-, pendenza,  950,   -12',
   expect: 'commented gradient'},
  {format: 'line', after: '[curve]', text: 'curvaS2,  500,  150', expect: 'curve'},
  {format: 'line', after: '[curve]', text: 'curva,  500,  150', expect: 'curve'},
  {format: 'line', after: '[cartelli]', text: 'INDICATORI_VMAX,  800  30  30  30  0 ,,,,0',
   expect: 'speed-board'},
  {format: 'line', after: '[indicazioni]',
   text: 'cartello_indicatore,  46450,  "(  PONTE, NUOVO  )"', expect: 'sign-board'},
  {format: 'train', after: '[vel_limite]', text: 'velocita,     900,    "90"',
   expect: 'speed-limit'},
  {format: 'train', after: '[vel_limite]', text: 'VELOCITA_MAX,  950,  95',
   expect: 'speed-limit'},
  {format: 'train', after: '[vel_limite]', text: 'velocita,  1000,  9O', expect: 'speed-limit'},
  {format: 'train', after: '[generale]', text: 'orologio,  16,  39,  30', expect: 'clock'},
  {format: 'train', after: '[generale]', text: '- nota del macchinista', expect: 'comment'},
  {format: 'train', after: '[stazioni]',
   text: 'STAZIONE,  1000,  12,  400,  1, 0, 0,  2,1,0,  2,1,1,  0,  0, 0, 0, Nuova Fermata',
   expect: 'station'},
  {format: 'train', after: '[stazioni]',
   text: 'stazone,  1000,  12,  400,  1, 0, 0,  2,1,0,  2,1,1,  0,  0, 0, 0, Nuova Fermata',
   expect: 'unrecognised'},
  {format: 'train', after: '[segnali]', text: 'Segnali,  1800,  2', expect: 'unrecognised'},
];

function reading(c) {
  if (c.what === 'record') return c.kind;
  if (c.what === 'commented') return `commented ${reading(c.record)}`;
  return c.what;
}

// ---------------------------------------------------------------------------------------------

async function loadGrammars() {
  const wasm = readFileSync(require.resolve('vscode-oniguruma/release/onig.wasm'));
  await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.length));
  const byScope = {
    'source.railscen.line': 'railscen-line.tmLanguage.json',
    'source.railscen.train': 'railscen-train.tmLanguage.json',
  };
  const registry = new vsctm.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
      createOnigString: (s) => new oniguruma.OnigString(s),
    }),
    loadGrammar: async (scopeName) => {
      const file = byScope[scopeName];
      if (!file) return null;
      const path = join(editors, file);
      return vsctm.parseRawGrammar(readFileSync(path, 'utf8'), path);
    },
  });
  return {
    line: await registry.loadGrammar('source.railscen.line'),
    train: await registry.loadGrammar('source.railscen.train'),
  };
}

function checkFile(grammar, name, lines, format, hand) {
  const classes = classifyFile(lines, format);
  let state = vsctm.INITIAL;
  lines.forEach((line, i) => {
    const where = `${name}:${i + 1}`;
    const result = grammar.tokenizeLine(line, state);
    state = result.ruleStack;
    if (result.stoppedEarly) fail(where, 'tokenizing stopped early');
    checkLine(where, line, result.tokens, classes[i]);
    ++counts.lines;
    const h = hand.get(i);
    if (h && reading(classes[i]) !== h.expect) {
      fail(where, `"${line}" reads as ${reading(classes[i])}, expected ${h.expect}`);
    }
  });
}

// Inserts the hand-written lines of one format; returns the lines and a map from line index
// to its case.
function withHandLines(lines, format) {
  const out = [...lines];
  const cases = handLines.filter((h) => h.format === format);
  for (const h of cases) {
    const at = out.indexOf(h.after);
    if (at < 0) throw new Error(`no line "${h.after}" in the ${format} description`);
    out.splice(at + 1, 0, h.text);
  }
  const byIndex = new Map();
  for (const h of cases) byIndex.set(out.indexOf(h.text), h);
  return {lines: out, hand: byIndex};
}

// The VS Code extension in editors/ gives each written description its own language, with
// the grammar of that scope.
function checkExtension([lineName, trainName]) {
  const where = 'editors/package.json';
  const manifest = JSON.parse(readFileSync(join(editors, 'package.json'), 'utf8'));
  const glob = (p) =>
      new RegExp(`^${p.replace(/[.+^${}()|[\]\\]/g, '\\$&').replace(/\*/g, '.*')}$`);
  const languageOf = (name) => manifest.contributes.languages
      .filter((l) => l.filenamePatterns.some((p) => glob(p).test(name))).map((l) => l.id);
  const expected = [[lineName, 'railscen-line', 'source.railscen.line'],
                    [trainName, 'railscen-train', 'source.railscen.train']];
  for (const [name, language, scope] of expected) {
    const found = languageOf(name);
    if (found.join() !== language) {
      fail(where, `"${name}" opens as ${found.join(', ') || 'nothing'}`);
    }
    const grammar = manifest.contributes.grammars.find((g) => g.language === language);
    const text = grammar && readFileSync(join(editors, grammar.path), 'utf8');
    if (!text || grammar.scopeName !== scope || JSON.parse(text).scopeName !== scope) {
      fail(where, `${language} has no grammar of scope ${scope}`);
    }
  }
}

function readDescription(dir, test) {
  const name = readdirSync(dir).find(test);
  if (!name) throw new Error(`railscen sources wrote no matching file in ${dir}`);
  const text = new TextDecoder('windows-1252').decode(readFileSync(join(dir, name)));
  const lines = text.split('\r\n');
  if (lines[lines.length - 1] === '') lines.pop();
  return {name, lines};
}

async function main() {
  const railscen = process.argv[2];
  if (!railscen) throw new Error('usage: node tokenize.mjs RAILSCEN');

  for (const file of Object.keys(grammarFiles)) {
    if (readFileSync(join(editors, file), 'utf8') !== grammarText(file)) {
      fail(`editors/${file}`, 'differs from what editors/generate.mjs writes; run it');
    }
  }

  const dir = mkdtempSync(join(tmpdir(), 'railscen-grammar-'));
  try {
    execFileSync(railscen, ['sources', dir], {stdio: ['ignore', 'ignore', 'inherit']});
    const line = readDescription(dir, (n) => n.endsWith('_linea.txt'));
    const train = readDescription(dir, (n) => n.endsWith('-.txt'));
    checkExtension([line.name, train.name]);
    const grammars = await loadGrammars();

    checkFile(grammars.line, line.name, line.lines, 'line', new Map());
    checkFile(grammars.train, train.name, train.lines, 'train', new Map());
    const storedKeywords = counts.keywords;
    const storedLines = counts.lines;

    const lineHand = withHandLines(line.lines, 'line');
    checkFile(grammars.line, `${line.name} (with hand-written lines)`, lineHand.lines, 'line',
              lineHand.hand);
    const trainHand = withHandLines(train.lines, 'train');
    checkFile(grammars.train, `${train.name} (with hand-written lines)`, trainHand.lines,
              'train', trainHand.hand);

    console.log(`stored texts: ${line.lines.length} + ${train.lines.length} lines, ` +
                `${storedKeywords} keyword fields (${storedLines} lines checked)`);
    console.log(`with ${handLines.length} hand-written lines, in all: ` +
                Object.entries(counts).map(([k, v]) => `${v} ${k}`).join(', '));
  } finally {
    rmSync(dir, {recursive: true, force: true});
  }

  if (failures.length > 0) {
    for (const f of failures.slice(0, 40)) console.error(f);
    console.error(`${failures.length} failure(s)`);
    process.exit(1);
  }
  console.log('every line scoped as the reader reads it');
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
