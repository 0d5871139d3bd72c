# A changelog of two entries, with text that CMake lists and XML both treat specially, through
# both outputs: the metainfo's release notes must carry every item whole and escaped with its
# entry's date, and the Debian changelog must read back as the same entries with the revision.
include(${CMAKE_CURRENT_LIST_DIR}/../release.cmake)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/changelog [[
tarvell (1.01) stable; urgency=low

  * Faster start; the banner waits for the first frame & never blocks it,
    even when the <host> is slow to answer and the window has to wait for nothing at all.
  * 计算 answers in the status line.

 -- Tarvell Developers <dev@tarvell.example>  Tue, 5 Jan 2027 09:30:00 +0000

tarvell (1.00) stable; urgency=medium

  * First release.

 -- Tarvell Developers <dev@tarvell.example>  Tue, 08 Dec 2026 12:00:00 +0000
]])

function(expect haystack needle)
  string(FIND "${haystack}" "${needle}" at)
  if(at LESS 0)
    message(FATAL_ERROR "missing '${needle}' in:\n${haystack}")
  endif()
endfunction()

tarvell_metainfo_releases(${WORK}/changelog xml)
expect("${xml}" "<release version=\"1.01\" date=\"2027-01-05\">")
expect("${xml}" "<li>Faster start; the banner waits for the first frame &amp; never blocks it, even when the &lt;host&gt; is slow to answer and the window has to wait for nothing at all.</li>")
expect("${xml}" "<li>计算 answers in the status line.</li>")
expect("${xml}" "<release version=\"1.00\" date=\"2026-12-08\">")
string(FIND "${xml}" "1.01" newer)
string(FIND "${xml}" "1.00" older)
if(NOT newer LESS older)
  message(FATAL_ERROR "releases not newest first:\n${xml}")
endif()

tarvell_debian_changelog(${WORK}/changelog 1~deb12u1 bookworm ${WORK}/changelog.Debian)
file(STRINGS ${WORK}/changelog.Debian lines)
foreach(line IN LISTS lines)
  string(LENGTH "${line}" width)
  if(width GREATER 80)
    message(FATAL_ERROR "longer than 80 columns: ${line}")
  endif()
endforeach()
file(READ ${WORK}/changelog.Debian debian)
expect("${debian}" "tarvell (1.01-1~deb12u1) bookworm; urgency=low\n")
expect("${debian}" "tarvell (1.00-1~deb12u1) bookworm; urgency=medium\n")
# Read back, the wrapped items are the original ones word for word.
tarvell_metainfo_releases(${WORK}/changelog.Debian again)
string(REPLACE "-1~deb12u1" "" again "${again}")
if(NOT again STREQUAL xml)
  message(FATAL_ERROR "the Debian changelog does not read back as the changelog:\n${again}")
endif()
find_program(PARSECHANGELOG dpkg-parsechangelog)
if(PARSECHANGELOG)
  execute_process(COMMAND ${PARSECHANGELOG} -l ${WORK}/changelog.Debian --format rfc822 --all
                  OUTPUT_VARIABLE parsed RESULT_VARIABLE status ERROR_VARIABLE errors)
  string(REGEX MATCHALL "\nVersion: [^\n]*" parsed "\n${parsed}")
  if(NOT status EQUAL 0 OR errors OR NOT parsed STREQUAL
     "\nVersion: 1.01-1~deb12u1;\nVersion: 1.00-1~deb12u1")
    message(FATAL_ERROR "dpkg-parsechangelog: '${parsed}' ${errors}")
  endif()
endif()
