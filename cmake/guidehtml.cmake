# SPDX-License-Identifier: GPL-2.0-or-later
cmake_minimum_required(VERSION 3.25)
# The guide as one HTML page: cmark's rendering of docs/guida.md inside a
# small Italian page with its own style.
#   cmake -DCMARK=... -DIN=guida.md -DOUT=guida.html -P guidehtml.cmake
execute_process(COMMAND ${CMARK} --smart ${IN} OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark: stato ${status}")
endif()
# Links between Markdown pages become links between HTML pages.
string(REGEX REPLACE "href=\"([^\":]*)\\.md(#[^\"]*)?\"" "href=\"\\1.html\\2\"" body "${body}")
file(WRITE ${OUT} "<!DOCTYPE html>
<html lang=\"it\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>Brevan: guida</title>
<style>
body { font-family: 'Liberation Sans', Arial, sans-serif; max-width: 52em; margin: 2em auto; padding: 0 1em; line-height: 1.5; color: #202020; }
h1, h2, h3 { color: #000080; }
img { max-width: 100%; border: 1px solid #c0c0c0; }
code { background: #f2f2f2; padding: 0 0.2em; }
pre { background: #f2f2f2; padding: 0.6em; overflow-x: auto; }
blockquote { border-left: 4px solid #ffc83c; margin-left: 0; padding-left: 1em; color: #404040; }
</style>
</head>
<body>
${body}</body>
</html>
")
