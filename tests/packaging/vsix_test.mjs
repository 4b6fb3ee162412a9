// node vsix_test.mjs VSIX VERSION RAILSCEN
// Unpacks the VS Code extension as VS Code would (a .vsix is a zip) and checks what it holds:
// the manifest's name and version (the project's), the two languages with their grammars and
// the railscen.path setting; vscode-languageclient bundled with it. Then runs the extension's
// activate() with a stand-in for the editor's API and client, once with railscen found on the
// PATH and once through railscen.path, starts the server command it hands to the client and
// speaks the protocol to it: initialize, shutdown, exit.
import assert from 'node:assert/strict';
import {execFileSync, spawn} from 'node:child_process';
import {existsSync, mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {createRequire} from 'node:module';
import {tmpdir} from 'node:os';
import {dirname, join} from 'node:path';

const [vsix, version, railscen] = process.argv.slice(2);
const work = mkdtempSync(join(tmpdir(), 'vsix-'));
process.on('exit', () => rmSync(work, {recursive: true, force: true}));
execFileSync('unzip', ['-q', vsix, '-d', work]);
const ext = join(work, 'extension');

const manifest = JSON.parse(readFileSync(join(ext, 'package.json'), 'utf8'));
assert.equal(manifest.name, 'railscen-descriptions');
assert.equal(manifest.version, version, 'the extension carries the project version');
assert.equal(manifest.main, './extension.js');
const languages = Object.fromEntries(manifest.contributes.languages.map((l) => [l.id, l]));
assert.deepEqual(languages['railscen-line'].filenamePatterns, ['*_linea.txt']);
assert.deepEqual(languages['railscen-train'].filenamePatterns, ['*-.txt']);
for (const grammar of manifest.contributes.grammars) {
  assert.ok(existsSync(join(ext, grammar.path)), `grammar ${grammar.path} is packed`);
}
assert.deepEqual(manifest.contributes.grammars.map((g) => g.language).sort(),
                 ['railscen-line', 'railscen-train']);
assert.deepEqual(manifest.activationEvents.sort(),
                 ['onLanguage:railscen-line', 'onLanguage:railscen-train']);
const setting = manifest.contributes.configuration.properties['railscen.path'];
assert.equal(setting.type, 'string');
assert.equal(setting.default, 'railscen');

// The dependency resolves from inside the extension, as VS Code loads it: it is bundled.
const extRequire = createRequire(join(ext, 'extension.js'));
const clientEntry = extRequire.resolve('vscode-languageclient/node');
assert.ok(clientEntry.startsWith(ext), 'vscode-languageclient is inside the .vsix');
const clientVersion = JSON.parse(readFileSync(
    join(ext, 'node_modules', 'vscode-languageclient', 'package.json'), 'utf8')).version;
assert.equal(clientVersion, manifest.dependencies['vscode-languageclient']);

// activate() with the editor's API and the client replaced: what server would it start?
function serverOf(pathSetting) {
  const vscode = {
    workspace: {getConfiguration: (section) => ({get: (key) => (
        section === 'railscen' && key === 'path' ? pathSetting : undefined)})},
  };
  let started;
  class LanguageClient {
    constructor(id, name, serverOptions, clientOptions) {
      started = {serverOptions, clientOptions};
    }
    start() { return Promise.resolve(); }
    stop() { return Promise.resolve(); }
  }
  const source = readFileSync(join(ext, 'extension.js'), 'utf8');
  const module = {exports: {}};
  const stubs = {'vscode': vscode, 'vscode-languageclient/node': {LanguageClient}};
  new Function('require', 'module', 'exports', source)(
      (name) => stubs[name] ?? extRequire(name), module, module.exports);
  module.exports.activate({subscriptions: []});
  assert.deepEqual(started.clientOptions.documentSelector.map((s) => s.language).sort(),
                   ['railscen-line', 'railscen-train']);
  return started.serverOptions;
}

// Starts the server as the client would and sends initialize; resolves with its answer.
function initialize(server, env) {
  return new Promise((resolve, reject) => {
    const child = spawn(server.command, server.args, {env, stdio: ['pipe', 'pipe', 'inherit']});
    child.on('error', reject);
    let buffer = Buffer.alloc(0);
    let answer;
    const send = (message) => {
      const body = Buffer.from(JSON.stringify({jsonrpc: '2.0', ...message}), 'utf8');
      child.stdin.write(`Content-Length: ${body.length}\r\n\r\n`);
      child.stdin.write(body);
    };
    child.stdout.on('data', (chunk) => {
      buffer = Buffer.concat([buffer, chunk]);
      for (;;) {
        const end = buffer.indexOf('\r\n\r\n');
        if (end < 0) return;
        const length = Number(/Content-Length: (\d+)/i.exec(buffer.subarray(0, end))[1]);
        if (buffer.length < end + 4 + length) return;
        const message = JSON.parse(buffer.subarray(end + 4, end + 4 + length).toString('utf8'));
        buffer = buffer.subarray(end + 4 + length);
        if (message.id === 1) {
          answer = message;
          send({id: 2, method: 'shutdown'});
        } else if (message.id === 2) {
          send({method: 'exit'});
        }
      }
    });
    child.on('exit', (code) => (code === 0 && answer ? resolve(answer)
                                                     : reject(new Error(`server exit ${code}`))));
    send({id: 1, method: 'initialize',
          params: {processId: process.pid, rootUri: null, capabilities: {}}});
  });
}

// No setting: "railscen" on the PATH (the built one's folder first on it).
const onPath = serverOf(undefined);
assert.deepEqual(onPath, {command: 'railscen', args: ['lsp']});
const pathEnv = {...process.env, PATH: `${dirname(railscen)}:${process.env.PATH ?? ''}`};
const first = await initialize(onPath, pathEnv);
assert.ok(first.result.capabilities, 'initialize answered with capabilities');
console.log(`railscen on the PATH answered initialize: ${JSON.stringify(first.result)}`);

// railscen.path names the program; the PATH holds none.
const named = serverOf(railscen);
assert.deepEqual(named, {command: railscen, args: ['lsp']});
const second = await initialize(named, {...process.env, PATH: '/nonexistent'});
assert.deepEqual(second.result, first.result);
console.log(`railscen.path (${railscen}) answered initialize the same`);
console.log(`${vsix}: ${manifest.name} ${manifest.version}, two languages, railscen.path, ` +
            `vscode-languageclient ${clientVersion} bundled`);
