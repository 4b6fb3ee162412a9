-- railscen description texts: the line description NAME_linea.txt and the train description
-- NAME_TRAIN-.txt. Autocommands rather than vim.filetype.add: Neovim 0.7 reads the latter only
-- under vim.g.do_filetype_lua, and these run after the *.txt rule on 0.7 and later alike.
local group = vim.api.nvim_create_augroup('railscen_filetype', { clear = true })
vim.api.nvim_create_autocmd({ 'BufNewFile', 'BufRead' }, {
  group = group,
  pattern = '*_linea.txt',
  command = 'set filetype=railscen_line',
})
vim.api.nvim_create_autocmd({ 'BufNewFile', 'BufRead' }, {
  group = group,
  pattern = '*-.txt',
  command = 'set filetype=railscen_train',
})
