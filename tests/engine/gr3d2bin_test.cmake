# The grid converter fails, with a message and no output, on damaged copies of
# the grid; it converts the real one.
# -DCONVERTISSEUR=... -DGRILLE=... -DDOSSIER=...
file(MAKE_DIRECTORY ${DOSSIER})
file(STRINGS ${GRILLE} lignes)

function(essaie nom attendu)
  file(WRITE ${DOSSIER}/${nom}.txt "")
  foreach(l IN LISTS ARGN)
    file(APPEND ${DOSSIER}/${nom}.txt "${l}\n")
  endforeach()
  file(REMOVE ${DOSSIER}/${nom}.bin)
  execute_process(COMMAND ${CONVERTISSEUR} ${DOSSIER}/${nom}.txt ${DOSSIER}/${nom}.bin
                  RESULT_VARIABLE rc ERROR_VARIABLE erreur)
  if(rc EQUAL 0 OR EXISTS ${DOSSIER}/${nom}.bin)
    message(FATAL_ERROR "${nom}: the converter accepted a damaged grid")
  endif()
  if(NOT erreur MATCHES "${attendu}")
    message(FATAL_ERROR "${nom}: unexpected message: ${erreur}")
  endif()
endfunction()

set(sain ${lignes})
list(SUBLIST sain 0 1000 debut)
essaie(tronquee "expected 17316 records, found 996" ${debut})

set(abimee ${lignes})
list(GET abimee 500 l)
string(REPLACE "-58.802" "-58.8o2" l "${l}")
list(REMOVE_AT abimee 500)
list(INSERT abimee 500 "${l}")
essaie(non_numerique "translation is not a number: -58.8o2" ${abimee})

set(desordre ${lignes})
list(REMOVE_AT desordre 800)
essaie(desordre "out of grid order" ${desordre})

set(champs ${lignes})
list(GET champs 10 l)
list(REMOVE_AT champs 10)
list(INSERT champs 10 "${l} 42")
essaie(champs "expected 8 fields" ${champs})

execute_process(COMMAND ${CONVERTISSEUR} ${GRILLE} ${DOSSIER}/sain.bin RESULT_VARIABLE rc)
file(SIZE ${DOSSIER}/sain.bin taille)
if(NOT rc EQUAL 0 OR NOT taille EQUAL 484848)
  message(FATAL_ERROR "the real grid did not convert to 484848 bytes")
endif()
