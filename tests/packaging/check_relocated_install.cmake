# cmake -P script: install the build into a scratch prefix, move the prefix to
# another folder, then use it from there. Nothing may still point into the
# build tree or at the prefix's first place.
#
# Arguments (-D): BUILD_DIR, WORK_DIR, CONSUMER_SOURCE_DIR, GENERATOR,
# MAKE_PROGRAM, CXX_COMPILER, CXX_FLAGS, LINKER_FLAGS, LIBDIR, BINDIR, VERSION,
# SAMPLE_PDF.

# Runs a command; on failure stops the test with everything it printed.
# Leaves its standard output in step_output.
function(run_step description)
  execute_process(COMMAND ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${description} failed (${status}):\n${output}\n${errors}")
  endif()
  set(step_output "${output}" PARENT_SCOPE)
endfunction()

# Runs an installed program with the loader's trace (LD_DEBUG=libs) written to
# a file, and checks that it loaded the plug-in, and with it libquill_base (and
# the PDF module, if it did), from the moved prefix. Leaves the trace in
# step_trace.
function(run_from_prefix description program)
  set(trace_file ${WORK_DIR}/loader-trace-${description})
  run_step(${description} ${CMAKE_COMMAND} -E env
    LD_DEBUG=libs LD_DEBUG_OUTPUT=${trace_file} ${program} ${ARGN})
  set(step_output "${step_output}" PARENT_SCOPE)
  file(GLOB trace_files ${trace_file}.*)
  set(trace "")
  foreach(file IN LISTS trace_files)
    file(READ ${file} content)
    string(APPEND trace "${content}")
  endforeach()
  set(step_trace "${trace}" PARENT_SCOPE)
  string(REGEX MATCHALL
         "calling init: [^\n]*lib(tarn_code39ext|quill_base|tarn_pdf)[^\n]*"
         our_libraries "${trace}")
  if(NOT our_libraries MATCHES "libtarn_code39ext")
    message(FATAL_ERROR "${description} did not load the plug-in")
  endif()
  foreach(line IN LISTS our_libraries)
    string(REPLACE "calling init: " "" library "${line}")
    cmake_path(IS_PREFIX prefix "${library}" NORMALIZE inside)
    if(NOT inside)
      message(FATAL_ERROR
        "${description} loaded ${library}, not the one under ${prefix}")
    endif()
  endforeach()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(staged ${WORK_DIR}/staged)
set(prefix ${WORK_DIR}/elsewhere/prefix)

run_step("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${staged})
file(MAKE_DIRECTORY ${WORK_DIR}/elsewhere)
file(RENAME ${staged} ${prefix})
set(installed_plugin ${prefix}/${LIBDIR}/libtarn_code39ext.so)

# A host project found by find_package through the moved prefix.
set(consumer_build ${WORK_DIR}/consumer)
run_step("configuring the consumer" ${CMAKE_COMMAND}
  -S ${CONSUMER_SOURCE_DIR} -B ${consumer_build}
  -G ${GENERATOR} -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM}
  -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}"
  -DCMAKE_PREFIX_PATH=${prefix})
run_step("building the consumer" ${CMAKE_COMMAND} --build ${consumer_build})
run_from_prefix(consumer ${consumer_build}/consumer)
string(STRIP "${step_output}" package_plugin)
if(NOT package_plugin STREQUAL installed_plugin)
  message(FATAL_ERROR
    "the package gives ${package_plugin}, expected ${installed_plugin}")
endif()

# An application linked to the reading library reads from memory through the
# plug-in beside the library.
run_from_prefix(scan_app ${consumer_build}/scan_app)

# The same facts through pkg-config.
find_program(PKG_CONFIG NAMES pkg-config pkgconf REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
run_step("pkg-config" ${PKG_CONFIG} --modversion tarn_code39ext)
string(STRIP "${step_output}" pc_version)
run_step("pkg-config" ${PKG_CONFIG} --variable=plugin tarn_code39ext)
string(STRIP "${step_output}" pc_plugin)
run_step("pkg-config" ${PKG_CONFIG} --cflags-only-I tarn_code39ext)
string(STRIP "${step_output}" pc_include)
string(REGEX REPLACE "^-I" "" pc_include "${pc_include}")
cmake_path(SET pc_plugin NORMALIZE "${pc_plugin}")
cmake_path(SET pc_include NORMALIZE "${pc_include}")
if(NOT pc_version STREQUAL "${VERSION}"
   OR NOT pc_plugin STREQUAL installed_plugin
   OR NOT EXISTS ${pc_include}/tarn_interface.h)
  message(FATAL_ERROR "pkg-config gives version ${pc_version}, plug-in "
    "${pc_plugin} and include folder ${pc_include} for the prefix ${prefix}")
endif()

run_step("pkg-config" ${PKG_CONFIG} --libs tarn_code39ext-scan)
string(REGEX MATCH "^-L([^ ]+) -ltarn_scan" scan_libs "${step_output}")
cmake_path(SET scan_libdir NORMALIZE "${CMAKE_MATCH_1}")
if(NOT scan_libs OR NOT scan_libdir STREQUAL "${prefix}/${LIBDIR}")
  message(FATAL_ERROR "pkg-config gives the libraries ${step_output}")
endif()

# The installed scanner, which finds the plug-in relative to itself: its
# version, and a one-line edge file ("*A*", narrow 1, wide 2) that it must read
# (exit status 0: every input read).
run_from_prefix(tarn-scan-version ${prefix}/${BINDIR}/tarn-scan --version)
string(FIND "${step_output}" "${VERSION}" version_at)
if(version_at EQUAL -1)
  message(FATAL_ERROR "tarn-scan --version printed:\n${step_output}")
endif()
set(sample ${WORK_DIR}/sample.edges)
file(WRITE ${sample} "0 1 3 4 5 7 8 10 11 12 13 15 16 17 18 19 21 22 23 25 26 "
                     "27 29 30 31 33 34 36 37 38\n")
run_from_prefix(tarn-scan-sample ${prefix}/${BINDIR}/tarn-scan ${sample})
if(step_trace MATCHES "libpoppler")
  message(FATAL_ERROR "tarn-scan loaded poppler for an edge file")
endif()

# A PDF, through the module installed beside the plug-in.
run_from_prefix(tarn-scan-pdf ${prefix}/${BINDIR}/tarn-scan ${SAMPLE_PDF})
if(NOT step_trace MATCHES "calling init: [^\n]*libtarn_pdf")
  message(FATAL_ERROR "tarn-scan did not load the PDF module for a PDF")
endif()

# Without the module a PDF is an unreadable file (exit status 2) and the other
# files are still read.
file(REMOVE ${prefix}/${LIBDIR}/libtarn_pdf.so)
execute_process(COMMAND ${prefix}/${BINDIR}/tarn-scan ${SAMPLE_PDF} ${sample}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 2 OR NOT errors MATCHES "PDF needs the renderer module"
   OR NOT output MATCHES "\"A\"")
  message(FATAL_ERROR "tarn-scan without the PDF module ended with status "
    "${status}:\n${output}\n${errors}")
endif()
