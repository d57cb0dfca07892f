# ravelin_add_test(<name> SOURCES <files...> LIBS <targets...> LABEL <db|ui|report|unit>)
#
# One executable per test file. Every test runs offscreen with the French locale; database
# tests find the server through RAVELIN_TEST_SOCKET (set by scripts/test) and create a
# database of their own from db/schema.sql.

# ravelin_use_forms(<target>): lets the target include the forms' generated headers (ui_*.h)
# to drive their widgets, as the screen tests and the benchmark do.
function(ravelin_use_forms name)
  file(GLOB_RECURSE forms LIST_DIRECTORIES false ${PROJECT_SOURCE_DIR}/*/*.ui ${PROJECT_SOURCE_DIR}/*/ui/*.ui)
  set(form_dirs "")
  foreach(form ${forms})
    get_filename_component(dir ${form} DIRECTORY)
    list(APPEND form_dirs ${dir})
  endforeach()
  list(REMOVE_DUPLICATES form_dirs)
  set_target_properties(${name} PROPERTIES AUTOUIC_SEARCH_PATHS "${form_dirs}")
endfunction()

function(ravelin_add_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  ravelin_use_forms(${name})
  target_link_libraries(${name} PRIVATE Qt6::Test ravelin_testsupport ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    LABELS "${T_LABEL}"
    TIMEOUT 600
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8")
endfunction()

# ravelin_add_test_folder(LIBS <targets...> LABEL <label> [UI <test names...>]): one test per
# tst_*.cpp of the folder, labelled <label>; the screen tests named after UI are labelled "ui".
function(ravelin_add_test_folder)
  cmake_parse_arguments(F "" "LABEL" "LIBS;UI" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(src ${tests})
    get_filename_component(name ${src} NAME_WE)
    set(label ${F_LABEL})
    if(name IN_LIST F_UI)
      set(label ui)
    endif()
    ravelin_add_test(${name} SOURCES ${src} LIBS ${F_LIBS} LABEL ${label})
  endforeach()
endfunction()
