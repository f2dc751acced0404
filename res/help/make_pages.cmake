# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the help pages into OUT: each page's own part (NAME.html here) inside the frame that every
# page shares (frame.html.in: the head, the navigation and the closing tags), titled after the
# page's first heading; and the style sheet beside them.
# cmake -DSOURCE=<this folder> -DOUT=<folder> -P make_pages.cmake
file(REMOVE_RECURSE ${OUT})
file(GLOB pages ${SOURCE}/*.html)
foreach(page ${pages})
  file(READ ${page} body)
  string(REGEX REPLACE "^<!-- SPDX-License-Identifier: [^\n]* -->\n" "" body "${body}")
  if(NOT body MATCHES "^<h2>([^<]*)</h2>")
    message(FATAL_ERROR "${page} does not start with the <h2> heading that titles it")
  endif()
  set(title "${CMAKE_MATCH_1}")
  get_filename_component(name ${page} NAME)
  configure_file(${SOURCE}/frame.html.in ${OUT}/${name} @ONLY)
endforeach()
file(COPY ${SOURCE}/style.css DESTINATION ${OUT})
