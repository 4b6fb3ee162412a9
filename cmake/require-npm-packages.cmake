# cmake -DFILES=A|B -P require-npm-packages.cmake: fails, saying what to run, when one of the
# files that npm ci puts in place is missing.
string(REPLACE "|" ";" files "${FILES}")
foreach(file IN LISTS files)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${file} is missing: scripts/install-deps installs the npm packages")
  endif()
endforeach()
