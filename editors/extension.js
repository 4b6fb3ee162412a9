// Starts `railscen lsp` for the line and train descriptions: diagnostics as you type, hovers that
// tell what a record becomes, the outline and keyword completion. The server is the railscen on
// the PATH unless the setting "railscen.path" names another.
const vscode = require('vscode');
const {LanguageClient} = require('vscode-languageclient/node');

let client;

exports.activate = function activate(context) {
  const command = vscode.workspace.getConfiguration('railscen').get('path') || 'railscen';
  client = new LanguageClient(
      'railscen', 'railscen',
      {command, args: ['lsp']},
      {documentSelector: [{language: 'railscen-line'}, {language: 'railscen-train'}]});
  context.subscriptions.push(client);
  return client.start();
};

exports.deactivate = function deactivate() {
  return client ? client.stop() : undefined;
};
