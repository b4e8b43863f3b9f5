# The payload catalogue's rows as a list of TYPE:ID:SIZE, taken from the compiled catalogue
# itself: a small lister is built and run at configure time (try_run; a cross build runs the
# host-built ofu-payload-catalogue-lister instead). The result is cached
# until the catalogue's sources change, so a later configure costs nothing.
function(ofu_payload_catalogue_rows out_var)
  set(sources
    ${PROJECT_SOURCE_DIR}/addons/payload_catalogue.cpp
    ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/list_payload_catalogue.cpp)
  set(inputs ${sources} ${PROJECT_SOURCE_DIR}/addons/payload_catalogue.h)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${inputs})
  set(digest "")
  foreach(input IN LISTS inputs)
    file(SHA256 ${input} input_digest)
    string(APPEND digest ${input_digest})
  endforeach()
  string(SHA256 digest "${CMAKE_CXX_COMPILER}${OFU_HOST_TOOLS_DIR}${digest}")

  if(NOT digest STREQUAL "${OFU_PAYLOAD_CATALOGUE_DIGEST}")
    if(CMAKE_CROSSCOMPILING)
      # The lister must run on this machine: a cross build takes the host-built one.
      set(lister ${OFU_HOST_TOOLS_DIR}/ofu-payload-catalogue-lister)
      if(NOT EXISTS "${lister}")
        message(FATAL_ERROR "A cross build needs OFU_HOST_TOOLS_DIR with a host-built ofu-payload-catalogue-lister "
                            "(scripts/build-windows makes it)")
      endif()
      execute_process(COMMAND ${lister} RESULT_VARIABLE run_result OUTPUT_VARIABLE listing ERROR_VARIABLE listing)
    else()
      try_run(run_result compile_result ${CMAKE_CURRENT_BINARY_DIR}/catalogue-lister
        SOURCES ${sources}
        CMAKE_FLAGS "-DINCLUDE_DIRECTORIES=${PROJECT_SOURCE_DIR}"
        CXX_STANDARD 20
        CXX_STANDARD_REQUIRED ON
        COMPILE_OUTPUT_VARIABLE compile_output
        RUN_OUTPUT_VARIABLE listing)
      if(NOT compile_result)
        message(FATAL_ERROR "Cannot build the payload catalogue's lister:\n${compile_output}")
      endif()
    endif()
    if(NOT run_result EQUAL 0)
      message(FATAL_ERROR "The payload catalogue's lister failed (${run_result}):\n${listing}")
    endif()
    string(STRIP "${listing}" listing)
    string(REPLACE "\n" ";" rows "${listing}")
    set(ids "")
    foreach(row IN LISTS rows)
      if(NOT row MATCHES "^([A-Z][A-Z0-9_]*):([0-9]+):([0-9]+)$")
        message(FATAL_ERROR "The payload catalogue's lister wrote \"${row}\", not TYPE:ID:SIZE")
      endif()
      if(CMAKE_MATCH_2 IN_LIST ids)
        message(FATAL_ERROR "Payload id ${CMAKE_MATCH_2} occurs twice; payload files are named by id alone")
      endif()
      list(APPEND ids ${CMAKE_MATCH_2})
    endforeach()
    set(OFU_PAYLOAD_CATALOGUE_ROWS "${rows}" CACHE INTERNAL "The payload catalogue as TYPE:ID:SIZE")
    set(OFU_PAYLOAD_CATALOGUE_DIGEST "${digest}" CACHE INTERNAL "What OFU_PAYLOAD_CATALOGUE_ROWS was made from")
  endif()
  set(${out_var} "${OFU_PAYLOAD_CATALOGUE_ROWS}" PARENT_SCOPE)
endfunction()
