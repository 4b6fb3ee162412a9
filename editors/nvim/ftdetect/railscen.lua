-- railscen description texts: the line description NAME_linea.txt and the train description
-- NAME_TRAIN-.txt (names are matched against the whole path).
vim.filetype.add({
  pattern = {
    ['.*_linea%.txt'] = 'railscen_line',
    ['.*%-%.txt'] = 'railscen_train',
  },
})
