# Fails when the static library ARCHIVE uses a symbol matching FORBID (a regular expression
# over demangled names); writes STAMP otherwise.
execute_process(COMMAND nm -C --undefined-only ${ARCHIVE} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "nm could not read ${ARCHIVE}")
endif()
string(REGEX MATCHALL "[^\n]*(${FORBID})[^\n]*" found "${symbols}")
if(found)
  list(REMOVE_DUPLICATES found)
  string(REPLACE ";" "\n" found "${found}")
  message(FATAL_ERROR "${ARCHIVE} uses what is above its layer:\n${found}")
endif()
file(TOUCH ${STAMP})
