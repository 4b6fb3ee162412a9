// Writes the two TextMate grammars of the description texts from the keyword tables below:
// railscen-line.tmLanguage.json (NAME_linea.txt) and railscen-train.tmLanguage.json
// (NAME_TRAIN-.txt). Run `node editors/generate.mjs` after changing a table; the grammar test
// fails while the committed files differ from what this script writes.
//
// The keyword tests mirror the compiler's: a record is recognised when its keyword field (the
// text before the first comma) contains every listed piece, any case or exact case, and holds
// no hyphen (a hyphenated field is passed over as a comment). When a field passes several
// tests the compiler runs every handler; an editor can give it one colour only, the first
// kind in the compiler's order.

import {writeFileSync} from 'node:fs';
import {dirname, join} from 'node:path';
import {fileURLToPath} from 'node:url';

// Each kind: scope suffix, pieces [text, anyCase], and the fields after the keyword ('n'
// number, 't' text) for the kinds whose last field is free text.
export const lineGeneralKinds = [
  {kind: 'line-length', pieces: [['percorso', true], ['lunghezza', true]]},
  {kind: 'progressive.three', pieces: [['tre', false], ['progressiva', false]]},
  {kind: 'progressive.two', pieces: [['due', false], ['progressiva', false]]},
  {kind: 'progressive.one', pieces: [['uno', false], ['progressiva', false]]},
  {kind: 'background.one', pieces: [['sfondo', false], ['uno', false]]},
  {kind: 'background.two', pieces: [['sfondo', false], ['due', false]]},
  {kind: 'background.three', pieces: [['sfondo', false], ['tre', false]]},
  // The code count comes from a "4" or else a "9" in the keyword; without either the file is
  // rejected.
  {kind: 'signal-repetition', pieces: [['segnali', false], ['ripetizione', false]],
   needs: '[49]', invalid: 'signal-repetition-without-count'},
];

export const lineObjectKinds = [
  {kind: 'gradient', pieces: [['pendenza', true]]},
  // The class is the first of the digits 1 to 6 in the keyword; without one the file is
  // rejected.
  {kind: 'curve', pieces: [['curva', true]], needs: '[1-6]', invalid: 'curve-without-class'},
  {kind: 'mountain', pieces: [['montagna', true]]},
  {kind: 'speed-board', pieces: [['indicatori_v', true]]},
  {kind: 'sign-board', pieces: [['cartello', true], ['indicat', true]], fields: 'nt'},
];

export const trainKinds = [
  {kind: 'braked-mass', pieces: [['frenata', true], ['massa', true]]},
  {kind: 'cars', pieces: [['vetture', true]]},
  {kind: 'speed-limit', pieces: [['velocit', true]]},
  {kind: 'adhesion', pieces: [['aderenza', true]]},
  {kind: 'clock', pieces: [['orologio', true]]},
  {kind: 'sand', pieces: [['sabbia', true]]},
  {kind: 'signal', pieces: [['segnale', true]]},
  {kind: 'slowdown', pieces: [['rallentamento', true]]},
  {kind: 'code-row', pieces: [['abbattimento', true]]},
  {kind: 'station', pieces: [['stazione', true]], fields: 'nnnnnnnnnnnnnnnnt'},
];

const S = '.railscen';

function escape(text) {
  return text.replace(/[\\^$.*+?()[\]{}|-]/g, '\\$&');
}

// Lookaheads that hold when the field starting here contains every piece.
function holds(pieces) {
  return pieces
    .map(([text, anyCase]) => `(?=[^,]*${anyCase ? `(?i:${escape(text)})` : escape(text)})`)
    .join('');
}

// Builds one regex from parts: a string is matched as is (it must hold no capturing group),
// an object {re, cap} becomes a capturing group with that capture rule.
function compose(parts) {
  let match = '';
  const captures = {};
  let group = 0;
  for (const part of parts) {
    if (typeof part === 'string') {
      match += part;
    } else {
      group += 1;
      match += `(${part.re})`;
      if (part.cap) captures[String(group)] = part.cap;
    }
  }
  return {match, captures};
}

// A keyword field at the start of a line, or right after a passed-over comment field.
const AT_FIELD = '(?:^|\\G)';
const NO_HYPHEN = '(?=[^,\\-]*(?:,|$))';
const COMMA = {re: ',', cap: {name: `punctuation.separator.comma${S}`}};
const ARGS = {re: '.*', cap: {patterns: [{include: '#numeric-fields'}]}};
// One numeric field with its separator: a quoted field up to its comma, a token ended by
// blanks and at most one comma, or an empty field before a comma.
const NUMERIC_FIELD = {
  re: ' *(?:"[^"]*"[^,]*,?|[^ ,"]+ *,?|,)',
  cap: {patterns: [{include: '#numeric-fields'}]},
};
const TEXT_FIELD = [
  ' *',
  '(?:',
  {re: '"[^"]*"', cap: {name: `string.quoted.double${S}`}},
  '[^,]*|',
  {re: '[^ ,"](?:[^,]*[^ ,])?', cap: {name: `string.unquoted${S}`}},
  ')?',
  ' *',
];

function recordRule(kind, keywordScope, fields, extra = '') {
  const head = [
    AT_FIELD + NO_HYPHEN + holds(kind.pieces) + extra,
    ' *',
    {re: '[^,]*?', cap: {name: keywordScope}},
    ' *',
  ];
  const generic = compose([...head, '(?:', COMMA, ARGS, ')?$']);
  const rules = [];
  if (fields) {
    const body = [];
    for (const f of fields) {
      if (f === 'n') body.push(NUMERIC_FIELD);
      else body.push(...TEXT_FIELD);
    }
    // What follows the last field on its line is read as the next keyword field.
    rules.push(compose([...head, COMMA, ...body, '(?:', COMMA, ARGS, ')?$']));
  }
  rules.push(generic);
  return rules.map((r) => ({name: `meta.record.${kind.kind}${S}`, ...r}));
}

function recordRules(kinds) {
  const rules = [];
  for (const kind of kinds) {
    if (kind.needs) {
      rules.push(...recordRule(kind, `keyword.other.${kind.kind}${S}`, kind.fields,
                               `(?=[^,]*${kind.needs})`));
      rules.push(...recordRule(kind, `invalid.illegal.${kind.invalid}${S}`, kind.fields));
    } else {
      rules.push(...recordRule(kind, `keyword.other.${kind.kind}${S}`, kind.fields));
    }
  }
  return rules;
}

// A line whose first field holds a hyphen is a comment unless a later field is a keyword;
// then only that first field is passed over.
function commentRules(kinds, records) {
  const anyKeyword = `(?:${kinds.map((k) => holds(k.pieces)).join('|')})`;
  return [
    {
      name: `comment.line${S}`,
      match: `^(?=[^,]*-)(?!.*,${anyKeyword}).*$`,
    },
    {
      begin: '^( *[^,]*-[^,]*?)( *)(,)',
      beginCaptures: {
        1: {name: `comment.line${S}`},
        3: {name: `punctuation.separator.comma${S}`},
      },
      end: '$',
      patterns: [{include: records}, {include: '#unrecognised'}],
    },
  ];
}

// A field made of a bracketed name, e.g. "[curve]": a section header. A first field that
// contains "[" and "]" and no hyphen also ends the line's general section.
function sectionRule() {
  return {
    name: `meta.section${S}`,
    ...compose([
      AT_FIELD + NO_HYPHEN + '(?=[^,]*\\[)(?=[^,]*\\])',
      ' *',
      {re: '[^,]*?', cap: {name: `entity.name.section${S}`}},
      ' *',
      '(?:',
      COMMA,
      ARGS,
      ')?$',
    ]),
  };
}

const unrecognisedRule = {
  name: `meta.unrecognised${S}`,
  ...compose([
    AT_FIELD + NO_HYPHEN + '(?=[^,]*[^ ,])',
    ' *',
    {re: '[^,]*?', cap: {name: `invalid.illegal.unrecognised-keyword${S}`}},
    ' *',
    '(?:',
    COMMA,
    ARGS,
    ')?$',
  ]),
};

const numericFields = {
  patterns: [
    {
      name: `string.quoted.double${S}`,
      match: '(")( *)([-+]?\\d+)( *)(")',
      captures: {
        1: {name: `punctuation.definition.string.begin${S}`},
        3: {name: `constant.numeric${S}`},
        5: {name: `punctuation.definition.string.end${S}`},
      },
    },
    {name: `string.quoted.double${S}`, match: '"[^"]*"?'},
    {name: `constant.numeric${S}`, match: '(?<![^ ,])[-+]?\\d+(?=[ ,]|$)'},
    {name: `punctuation.separator.comma${S}`, match: ','},
    {name: `invalid.illegal.not-a-number${S}`, match: '[^ ,"]+'},
  ],
};

// Everything before the first field that contains "[generale]" is skipped by the reader.
const preamble = {
  name: `comment.block.preamble${S}`,
  begin: '\\A(?![^,]*\\[(?i:generale)\\])',
  end: '(?=^[^,]*\\[(?i:generale)\\])',
};

function opener(name, patterns, end) {
  return {
    name,
    ...renameMatch(compose([
      '^(?=[^,]*\\[(?i:generale)\\])',
      ' *',
      {re: '[^,]*?', cap: {name: `entity.name.section${S}`}},
      ' *',
      {re: ',|$', cap: {name: `punctuation.separator.comma${S}`}},
    ]), 'begin'),
    end,
    patterns,
  };
}

function renameMatch({match, captures}, as) {
  return {[as]: match, [`${as}Captures`]: captures};
}

function lineGrammar() {
  // The general section ends at the first keyword field that holds "[" and "]"; after it only
  // object records are recognised, to the end of the file.
  const sectionEnd = '^(?=[^,\\-]*(?:,|$))(?=[^,]*\\[)(?=[^,]*\\])';
  return {
    $schema: 'https://raw.githubusercontent.com/martinring/tmlanguage/master/tmlanguage.json',
    name: 'railscen line description',
    scopeName: 'source.railscen.line',
    fileTypes: ['_linea.txt'],
    patterns: [
      preamble,
      opener(`meta.general-section${S}`, [
        ...commentRules(lineGeneralKinds, '#general-records'),
        {include: '#general-records'},
        {include: '#unrecognised'},
      ], sectionEnd),
      {
        name: `meta.object-part${S}`,
        ...renameMatch(compose([
          sectionEnd,
          ' *',
          {re: '[^,]*?', cap: {name: `entity.name.section${S}`}},
          ' *',
          {re: ',|$', cap: {name: `punctuation.separator.comma${S}`}},
        ]), 'begin'),
        end: '(?!)',
        patterns: [
          ...commentRules(lineObjectKinds, '#object-records'),
          {include: '#object-records'},
          sectionRule(),
          {include: '#unrecognised'},
        ],
      },
    ],
    repository: {
      'general-records': {patterns: recordRules(lineGeneralKinds)},
      'object-records': {patterns: recordRules(lineObjectKinds)},
      'unrecognised': {patterns: [unrecognisedRule]},
      'numeric-fields': numericFields,
    },
  };
}

function trainGrammar() {
  return {
    $schema: 'https://raw.githubusercontent.com/martinring/tmlanguage/master/tmlanguage.json',
    name: 'railscen train description',
    scopeName: 'source.railscen.train',
    fileTypes: ['-.txt'],
    patterns: [
      preamble,
      opener(`meta.records${S}`, [
        ...commentRules(trainKinds, '#records'),
        {include: '#records'},
        sectionRule(),
        {include: '#unrecognised'},
      ], '(?!)'),
    ],
    repository: {
      'records': {patterns: recordRules(trainKinds)},
      'unrecognised': {patterns: [unrecognisedRule]},
      'numeric-fields': numericFields,
    },
  };
}

export const grammarFiles = {
  'railscen-line.tmLanguage.json': lineGrammar,
  'railscen-train.tmLanguage.json': trainGrammar,
};

// The tokenizer sees each line with its line feed; no negated class may run across it.
function keepToLine(node) {
  if (Array.isArray(node)) return node.map(keepToLine);
  if (node === null || typeof node !== 'object') return node;
  const out = {};
  for (const [key, value] of Object.entries(node)) {
    out[key] = ['match', 'begin', 'end'].includes(key) ? value.replaceAll('[^', '[^\\n')
                                                      : keepToLine(value);
  }
  return out;
}

export function grammarText(file) {
  return JSON.stringify(keepToLine(grammarFiles[file]()), null, 2) + '\n';
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const here = dirname(fileURLToPath(import.meta.url));
  for (const file of Object.keys(grammarFiles)) {
    writeFileSync(join(here, file), grammarText(file));
    console.log(`wrote editors/${file}`);
  }
}
