# Every text the sources mark for translation has its Russian one, in the
# context of the class that shows it: Qt's lupdate gathers the marked texts
# into a copy of the catalogue, and lrelease counts those still without.
file(COPY_FILE ${TS} ${WORK}/catalogue.ts)
execute_process(COMMAND ${LUPDATE} -silent -locations none -I ${ROOT} ${SOURCES} -ts ${WORK}/catalogue.ts
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${LRELEASE} ${WORK}/catalogue.ts -qm ${WORK}/catalogue.qm
                OUTPUT_VARIABLE released COMMAND_ERROR_IS_FATAL ANY)
file(READ ${WORK}/catalogue.ts gathered)
if(NOT released MATCHES "\\([0-9]+ finished and 0 unfinished\\)" OR released MATCHES "Ignored"
   OR gathered MATCHES "type=\"(vanished|obsolete)\"")
    message(FATAL_ERROR "The catalogue ${TS} lacks a translation or holds a stale one:\n${released}"
                        "Run lupdate on the sources and translate what it adds.")
endif()
