# Most of a file's compile is reading the standard, CLI11 and nlohmann/json headers, so the
# libraries are compiled in batches of files (CMake's unity build), each batch reading them once.
# The sanitizer build compiles every file alone, so a file that forgot one of its includes, or a
# name two files of a batch both define, still fails there.
option(RAILSCEN_BATCHES "Compile the libraries in batches of files" ON)

# size files a batch; 0 puts all of the target's files in one.
function(railscen_batches target size)
  if(RAILSCEN_BATCHES)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${size})
  endif()
endfunction()
