# Runs at install time, when the prefix is known (CMAKE_INSTALL_PREFIX, the files going
# under DESTDIR when it is set). Writes the two data files into the configuration folder,
# unless they are there already (they are the user's, a reinstall keeps them), and links
# them beside the programs that read them, and the programs into bin.
# Set by the caller: KELIDOR_GEN_COLLECTION, KELIDOR_SAMPLE_BOOK_LIST, KELIDOR_HAS_BROWSER,
# KELIDOR_HAS_PARVOLIN.

set(kelidorPrefix "${CMAKE_INSTALL_PREFIX}")
if(kelidorPrefix STREQUAL "/usr")
  set(kelidorConfigDir "/etc/kelidor")
else()
  set(kelidorConfigDir "${kelidorPrefix}/etc/kelidor")
endif()
set(kelidorRoot "$ENV{DESTDIR}")
set(kelidorAppDir "${kelidorPrefix}/lib/kelidor")
set(kelidorKitDir "${kelidorPrefix}/lib/kelidor/kit")

# link -> target, both as installed; the link holds the relative way from its folder.
macro(kelidor_install_link link target)
  get_filename_component(linkFolder "${link}" DIRECTORY)
  file(RELATIVE_PATH relativeTarget "${linkFolder}" "${target}")
  message(STATUS "Installing: ${kelidorRoot}${link} -> ${relativeTarget}")
  file(MAKE_DIRECTORY "${kelidorRoot}${linkFolder}")
  file(REMOVE "${kelidorRoot}${link}")
  file(CREATE_LINK "${relativeTarget}" "${kelidorRoot}${link}" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${kelidorRoot}${link}")
endmacro()

# Left out of the install manifest, so that removing what an install wrote keeps it.
macro(kelidor_note_kept file)
  message(STATUS "Keeping: ${kelidorRoot}${file} (already there)")
endmacro()

if(KELIDOR_HAS_BROWSER)
  # The sample's catalogue, its first line naming the sample where it is installed.
  set(dataFile "${kelidorConfigDir}/data.txt")
  if(EXISTS "${kelidorRoot}${dataFile}")
    kelidor_note_kept("${dataFile}")
  else()
    message(STATUS "Installing: ${kelidorRoot}${dataFile}")
    execute_process(
      COMMAND "${KELIDOR_GEN_COLLECTION}" --no-files --books "${kelidorPrefix}/share/kelidor/sample/PDFS"
              --data "${kelidorRoot}${dataFile}"
      RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "Could not write ${kelidorRoot}${dataFile}")
    endif()
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${kelidorRoot}${dataFile}")
  endif()
  kelidor_install_link("${kelidorAppDir}/data.txt" "${dataFile}")
  kelidor_install_link("${kelidorPrefix}/bin/kelidor" "${kelidorAppDir}/kelidor")
endif()

if(KELIDOR_HAS_PARVOLIN)
  set(bookList "${kelidorConfigDir}/K נתונים.txt")
  if(EXISTS "${kelidorRoot}${bookList}")
    kelidor_note_kept("${bookList}")
  else()
    message(STATUS "Installing: ${kelidorRoot}${bookList}")
    file(MAKE_DIRECTORY "${kelidorRoot}${kelidorConfigDir}")
    file(COPY_FILE "${KELIDOR_SAMPLE_BOOK_LIST}" "${kelidorRoot}${bookList}")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${kelidorRoot}${bookList}")
  endif()
  kelidor_install_link("${kelidorKitDir}/K נתונים.txt" "${bookList}")
  kelidor_install_link("${kelidorPrefix}/bin/parvolin" "${kelidorKitDir}/parvolin")
endif()
