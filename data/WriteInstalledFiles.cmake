# Runs while installing, after every other file is in place: writes the menu
# entry with the installed program's path, then the manifest that lists every
# installed file, itself included, for Uninstall.

function(tapwise_full_path out dir)
    if(IS_ABSOLUTE "${dir}")
        set(${out} "${dir}" PARENT_SCOPE)
    else()
        set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
    endif()
endfunction()

# A word of an Exec line: in double quotes with '"', '`', '$' and '\'
# escaped and '%' doubled, then the backslashes of a string value doubled.
function(tapwise_exec_word out word)
    string(REPLACE "\\" "\\\\" word "${word}")
    string(REPLACE "\"" "\\\"" word "${word}")
    string(REPLACE "`" "\\`" word "${word}")
    string(REPLACE "$" "\\$" word "${word}")
    string(REPLACE "%" "%%" word "${word}")
    string(REPLACE "\\" "\\\\" word "${word}")
    set(${out} "\"${word}\"" PARENT_SCOPE)
endfunction()

tapwise_full_path(tapwise_bindir "${TAPWISE_BINDIR}")
tapwise_full_path(tapwise_datadir "${TAPWISE_DATADIR}")
set(tapwise_destdir "$ENV{DESTDIR}")

tapwise_exec_word(TAPWISE_EXEC "${tapwise_bindir}/tapwise")
set(TAPWISE_ICON "${tapwise_datadir}/icons/hicolor/scalable/apps/tapwise.svg")
set(tapwise_menu_entry "${tapwise_datadir}/applications/tapwise.desktop")
message(STATUS "Installing: ${tapwise_destdir}${tapwise_menu_entry}")
configure_file("${TAPWISE_MENU_TEMPLATE}" "${tapwise_destdir}${tapwise_menu_entry}" @ONLY)

set(tapwise_manifest "${tapwise_datadir}/tapwise/installed-files")
set(tapwise_installed "")
foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
    string(FIND "${file}" "${tapwise_destdir}" at)
    if(tapwise_destdir AND at EQUAL 0)
        string(LENGTH "${tapwise_destdir}" skip)
        string(SUBSTRING "${file}" ${skip} -1 file)
    endif()
    list(APPEND tapwise_installed "${file}")
endforeach()
list(APPEND tapwise_installed "${tapwise_menu_entry}" "${tapwise_manifest}")
list(REMOVE_DUPLICATES tapwise_installed)
string(JOIN "\n" tapwise_lines ${tapwise_installed})
message(STATUS "Installing: ${tapwise_destdir}${tapwise_manifest}")
file(WRITE "${tapwise_destdir}${tapwise_manifest}"
    "# Files installed with Tapwise, removed by its Uninstall.\n${tapwise_lines}\n")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${tapwise_destdir}${tapwise_menu_entry}"
    "${tapwise_destdir}${tapwise_manifest}")
