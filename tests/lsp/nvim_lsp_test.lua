-- Neovim's own LSP client against railscen lsp: open the stored scenario's two texts, move a
-- speed board onto a signal, and read back the diagnostics and a hover.
-- Run: RAILSCEN=... SCENARIO_DIR=... nvim --headless -u NONE -i NONE -c "luafile nvim_lsp_test.lua"

local railscen = assert(os.getenv('RAILSCEN'), 'RAILSCEN not set')
local dir = assert(os.getenv('SCENARIO_DIR'), 'SCENARIO_DIR not set')

local function say(text)
  io.stdout:write(text .. '\n')
end

local function fail(text)
  io.stderr:write('FAIL: ' .. text .. '\n')
  vim.cmd('cquit 1')
end

local function open(file)
  vim.cmd('edit ' .. vim.fn.fnameescape(file))
  return vim.api.nvim_get_current_buf()
end

local function find_line(buf, prefix)
  for i, text in ipairs(vim.api.nvim_buf_get_lines(buf, 0, -1, false)) do
    if text:sub(1, #prefix) == prefix then return i - 1, text end
  end
  fail('no line beginning with ' .. prefix)
end

local train_buf = open(dir .. '/VELARO-CUSTRA _R 40817-.txt')
local line_buf = open(dir .. '/VELARO-CUSTRA _linea.txt')

-- The README's set-up gives both texts their filetypes.
if vim.bo[train_buf].filetype ~= 'railscen_train' then
  fail('train text filetype ' .. vim.bo[train_buf].filetype)
end
if vim.bo[line_buf].filetype ~= 'railscen_line' then
  fail('line text filetype ' .. vim.bo[line_buf].filetype)
end

local client_id = vim.lsp.start_client({
  name = 'railscen',
  cmd = { railscen, 'lsp' },
  root_dir = dir,
})
if not client_id then fail('the server did not start') end
vim.lsp.buf_attach_client(train_buf, client_id)
vim.lsp.buf_attach_client(line_buf, client_id)

local function wait_for(what, check)
  if not vim.wait(10000, check, 20) then fail('timed out waiting for ' .. what) end
end

wait_for('the server to start', function()
  local client = vim.lsp.get_client_by_id(client_id)
  return client ~= nil and client.initialized
end)
-- The stored texts compile clean: the first publication is an empty list for both.
vim.wait(500, function() return false end, 20)
local function errors(buf)
  return vim.diagnostic.get(buf, { severity = vim.diagnostic.severity.ERROR })
end
if #errors(line_buf) + #errors(train_buf) ~= 0 then fail('the stored texts show errors') end
say('stored texts: no errors')

-- The speed board at 2750 m moved onto the signal at 6050 m, in the unsaved line buffer.
local board, text = find_line(line_buf, 'indicatori_vmax,  2750,')
local moved = text:gsub('2750', '6050', 1)
vim.api.nvim_buf_set_lines(line_buf, board, board + 1, false, { moved })
say('changed line ' .. (board + 1) .. ': ' .. moved)

wait_for('the signal diagnostic', function() return #errors(train_buf) > 0 end)
local signal_line = find_line(train_buf, 'segnale,    6050,')
for _, d in ipairs(errors(train_buf)) do
  say(string.format('train diagnostic %d:%d-%d:%d [%s] %s', d.lnum + 1, d.col + 1,
    d.end_lnum + 1, d.end_col + 1, d.source, d.message:gsub('\n.*', '')))
  if d.lnum ~= signal_line or d.col ~= 12 or d.end_col ~= 16 then
    fail('the diagnostic is not on the signal\'s position field')
  end
  if not d.message:find('error 16: signal cell already occupied by a speed board', 1, true) then
    fail('unexpected message: ' .. d.message)
  end
end

local function hover(buf, line)
  local params = { textDocument = vim.lsp.util.make_text_document_params(buf),
                   position = { line = line, character = 2 } }
  local replies = vim.lsp.buf_request_sync(buf, 'textDocument/hover', params, 5000)
  for _, reply in pairs(replies or {}) do
    if reply.result then return reply.result.contents.value end
  end
  fail('no hover on line ' .. (line + 1))
end

local on_board = hover(line_buf, board)
say('hover on the board: ' .. on_board)
if not on_board:find('speed board at 6050 m → cell 122', 1, true) then fail('board hover') end
local on_signal = hover(train_buf, signal_line)
say('hover on the signal: ' .. on_signal)
if not on_signal:find('signal at 6050 m → cell 122 (holds a speed board', 1, true) then
  fail('signal hover')
end

-- Undo the change: the error goes away.
vim.api.nvim_buf_set_lines(line_buf, board, board + 1, false, { text })
wait_for('the error to clear', function() return #errors(train_buf) == 0 end)
say('restored: no errors')
local restored = hover(train_buf, signal_line)
say('hover on the signal: ' .. restored)
if not restored:find('signal at 6050 m → cell 122; approach marks in cells 120, 118, 116, 114', 1,
  true) then
  fail('signal hover after the fix')
end

vim.lsp.stop_client(client_id)
wait_for('the server to stop', function() return vim.lsp.get_client_by_id(client_id) == nil end)
say('PASS')
vim.cmd('qall!')
