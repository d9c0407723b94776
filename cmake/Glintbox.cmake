# glintbox_add_library(NAME [DEPENDS lib...] [QT module...])
# One static library per subsystem folder; its sources are every .cpp/.h below
# the folder, so adding a file needs no CMake edit.
function(glintbox_add_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;QT" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS
        "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    foreach(module IN LISTS ARG_QT)
        target_link_libraries(${name} PUBLIC Qt6::${module})
    endforeach()
endfunction()

# glintbox_add_module(NAME LIBRARY)
# A part of the program that it loads on first use (core/ProgramModule.h): the
# module NAME made of the whole static LIBRARY, which shows the program its
# entry point and nothing else. It lies beside the executable, in the build
# and in the installation (lib/glintbox).
function(glintbox_add_module name library)
    set_target_properties(${library} PROPERTIES
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    add_library(${name} MODULE)
    target_link_libraries(${name} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${library}>")
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        LIBRARY_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/src/app")
    install(TARGETS ${name} LIBRARY DESTINATION lib/glintbox)
endfunction()

# The help files that the Help window shows. They lie beside the executable, in
# the build and in the installation, so this one list serves both.
set(GLINTBOX_HELP_FILES
    "${PROJECT_SOURCE_DIR}/resources/help/Glintbox Help.txt"
    "${PROJECT_SOURCE_DIR}/resources/help/Glintbox Help.html"
    "${PROJECT_SOURCE_DIR}/resources/help/Glintbox Updates.txt"
    "${PROJECT_SOURCE_DIR}/resources/help/Glintbox Updates.html")

# glintbox_place_help_files(TARGET)
# Keeps the help files beside TARGET's executable: copied on every build when
# they have changed.
function(glintbox_place_help_files target)
    add_custom_target(${target}_help_files
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${GLINTBOX_HELP_FILES}
                "$<TARGET_FILE_DIR:${target}>"
        VERBATIM)
    add_dependencies(${target} ${target}_help_files)
endfunction()

# glintbox_add_test(NAME LABELS label... LIBS lib... [SOURCES extra...])
# A QtTest executable NAME built from NAME.cpp, registered with CTest under its
# labels. Tests run offscreen unless they carry the label "xvfb".
function(glintbox_add_test name)
    cmake_parse_arguments(ARG "" "TIMEOUT" "LABELS;LIBS;SOURCES" ${ARGN})
    add_executable(${name} ${name}.cpp ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE glintbox_testsupport ${ARG_LIBS} Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    # The sanitizers make a test two to three times slower.
    if(GLINTBOX_SANITIZE OR GLINTBOX_BUILD_FUZZERS)
        math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * 3")
    endif()
    set(env "GLINTBOX_CORPUS=${PROJECT_SOURCE_DIR}/../shared/corpus"
            "QTWEBENGINE_DISABLE_SANDBOX=1"
            "QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu --no-sandbox --disable-background-networking"
            "GLINTBOX_SNAPSHOT=$<TARGET_FILE_DIR:glintbox>/glintbox-snapshot"
            "GLINTBOX_MODULE_DIR=$<TARGET_FILE_DIR:glintbox-browser>")
    # A test that shows a page or plays a movie loads the module for it.
    add_dependencies(${name} glintbox-browser glintbox-player)
    # QtTest stops a test function after 300 s of its own; let CTest's limit rule.
    math(EXPR function_timeout_ms "${ARG_TIMEOUT} * 1000")
    list(APPEND env "QTEST_FUNCTION_TIMEOUT=${function_timeout_ms}")
    if(NOT "xvfb" IN_LIST ARG_LABELS)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    # The test's folder names the library it checks, so "ctest -L formats" picks them all.
    get_filename_component(area "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
    set(labels ${area} ${ARG_LABELS})
    list(REMOVE_DUPLICATES labels)
    set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "${env}")
endfunction()

# glintbox_add_benchmark(NAME LIBS lib...)
# A benchmark executable NAME built from NAME.cpp; it prints ratios against a
# baseline measured in the same run (bench/Report.h) and is run by
# scripts/bench, not by CTest.
function(glintbox_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_executable(${name} ${name}.cpp)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    if(NOT TARGET benchmarks)
        add_custom_target(benchmarks)
    endif()
    add_dependencies(benchmarks ${name})
endfunction()

# glintbox_add_fuzzer(NAME LIBS lib...)
# A libFuzzer target NAME built from NAME.cpp (configure with clang and
# -DGLINTBOX_BUILD_FUZZERS=ON, which sanitizes and instruments every library).
function(glintbox_add_fuzzer name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_executable(${name} ${name}.cpp)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# The sanitizers go on every target, so the libraries under test are checked,
# not only the test's or the fuzzer's own file. The fuzz build also gives every
# library libFuzzer's coverage feedback (fuzzer-no-link); the sanitizer runtime
# answers those hooks in the tests, so one build serves the tests and the
# fuzzers, and only the fuzz targets link libFuzzer itself.
if(GLINTBOX_SANITIZE OR GLINTBOX_BUILD_FUZZERS)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    if(GLINTBOX_BUILD_FUZZERS)
        add_compile_options(-fsanitize=fuzzer-no-link)
    endif()
endif()
