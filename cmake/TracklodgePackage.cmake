# What a desktop needs beside the program (menu entry, icons, AppStream metadata, manual page,
# the package's documents), made in the build folder by the target tracklodge_dist, their
# install rules, and the Debian package made from them by CPack (scripts/package).

set(TRACKLODGE_APPSTREAM_ID org.tracklodge.tracklodge)
# The project has no public site yet: both name the reserved domain tracklodge.example until one
# is chosen. The screenshot is dist/screenshots/main-window.png published there (software
# centres show only screenshots they can download).
set(TRACKLODGE_MAINTAINER "TRACKLODGE maintainers <maintainers@tracklodge.example>"
    CACHE STRING "The Maintainer field of the Debian package")
set(TRACKLODGE_SCREENSHOT_URL "https://tracklodge.example/screenshots/main-window.png"
    CACHE STRING "The web address of dist/screenshots/main-window.png, for AppStream")

find_program(TRACKLODGE_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(TRACKLODGE_GZIP gzip REQUIRED)

# TRACKLODGE_RELEASE_DATE (YYYY-MM-DD) as a Debian changelog wants it: "Sun, 06 Dec 2026
# 00:00:00 +0000". The day of the week by Sakamoto's method.
function(tracklodge_changelog_date out)
    string(REGEX MATCH "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$" _
           "${TRACKLODGE_RELEASE_DATE}")
    if(NOT CMAKE_MATCH_0)
        message(FATAL_ERROR "TRACKLODGE_RELEASE_DATE is not YYYY-MM-DD: ${TRACKLODGE_RELEASE_DATE}")
    endif()
    set(year ${CMAKE_MATCH_1})
    set(day_text ${CMAKE_MATCH_3})
    math(EXPR month "1${CMAKE_MATCH_2} - 100")
    math(EXPR day "1${CMAKE_MATCH_3} - 100")
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR index "${month} - 1")
    list(GET offsets ${index} offset)
    set(y ${year})
    if(month LESS 3)
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
    set(weekdays Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET weekdays ${weekday} weekday_name)
    list(GET months ${index} month_name)
    set(${out} "${weekday_name}, ${day_text} ${month_name} ${year} 00:00:00 +0000"
        PARENT_SCOPE)
endfunction()
tracklodge_changelog_date(TRACKLODGE_CHANGELOG_DATE)

set(dist ${PROJECT_SOURCE_DIR}/dist)
set(made ${PROJECT_BINARY_DIR}/dist)
configure_file(${dist}/tracklodge.metainfo.xml.in
               ${made}/${TRACKLODGE_APPSTREAM_ID}.metainfo.xml @ONLY)
configure_file(${dist}/tracklodge.1.in ${made}/tracklodge.1 @ONLY)
configure_file(${dist}/changelog.in ${made}/changelog @ONLY)

# Compressed as Debian compresses them: at the highest level, without the file's name and time,
# so that the same sources give the same bytes.
set(dist_files)
foreach(file tracklodge.1 changelog)
    add_custom_command(OUTPUT ${made}/${file}.gz
        COMMAND ${TRACKLODGE_GZIP} -9 --no-name --keep --force ${made}/${file}
        DEPENDS ${made}/${file}
        VERBATIM)
    list(APPEND dist_files ${made}/${file}.gz)
endforeach()

foreach(size 48 256)
    set(png ${made}/icons/${size}x${size}/tracklodge.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${made}/icons/${size}x${size}
        COMMAND ${TRACKLODGE_RSVG_CONVERT} --width ${size} --height ${size}
                --output ${png} ${dist}/tracklodge.svg
        DEPENDS ${dist}/tracklodge.svg
        VERBATIM)
    list(APPEND dist_files ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(tracklodge_dist ALL DEPENDS ${dist_files})

install(FILES ${dist}/tracklodge.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${dist}/tracklodge.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${made}/${TRACKLODGE_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${made}/tracklodge.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${dist}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${made}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tracklodge)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cataloguer of MP3 collections, with an Italian interface")
set(CPACK_PACKAGE_DESCRIPTION [[
TRACKLODGE finds the MP3 files on folders, CDs and USB disks, reads their
ID3v1 tags and records every file, with the medium it lies on, in one
catalogue, Mp3Db.mdb in the folder it is started in (the home folder when it
is started from the menu).

The catalogue can be searched and sorted; a file's tag can be corrected and
saved into the file, and the file played. Files deleted or moved since the
last start are listed to be removed from the catalogue, and the catalogue can
be exported as CSV for spreadsheets.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TRACKLODGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps. Besides them it loads Qt's Italian
# translation (qtbase_it.qm); the xcb platform plugin it needs comes with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
