# Writes the tamsel-cli man page from the tool's own usage text, so that the two never
# disagree. Run with -DCLI=path/to/tamsel-cli -DOUT=path/to/tamsel-cli.1 -DVERSION=x.y.
execute_process(COMMAND "${CLI}" --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "tamsel-cli --help failed: ${status}")
endif()
# troff takes a backslash as an escape and a leading dot or quote as a request.
string(REPLACE "\\" "\\e" usage "${usage}")
string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" usage "${usage}")
file(WRITE "${OUT}" ".TH TAMSEL-CLI 1 \"\" \"Tamsel ${VERSION}\" \"User Commands\"
.SH NAME
tamsel-cli \\- the Tamsel craft editor's file commands without a window
.SH SYNOPSIS
.nf
${usage}.fi
.SH DESCRIPTION
tamsel-cli imports OPT files, DXF drawings and other 3D formats into Tamsel projects,
writes OPT files, exports glTF and OBJ, checks craft against the game's limits, tells what a
file holds and draws pictures of craft without a display.
.SH EXIT STATUS
0 on success and 1 on an error, with the message on standard error. The check command
exits 0 without errors in the craft, 1 with errors and 2 when the file cannot be read.
.SH SEE ALSO
tamsel(1)
")
