# SPDX-FileCopyrightText: 2026 The Ruvo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# ruvo_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [ENVIRONMENT <VAR=value...>]
#               [COMMAND_PREFIX <command...>])
#
# One Qt Test executable registered with CTest. Every test runs headless on the offscreen
# platform with private runtime, data, state and configuration folders, so no test depends on
# a display or on the user's session.
function(ruvo_add_test)
    cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS;ENVIRONMENT;COMMAND_PREFIX" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE Qt6::Test ${ARG_LIBS})
    target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    # A prefix runs the test under another program (a private session bus).
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND_PREFIX} $<TARGET_FILE:${ARG_NAME}>)
    set(runtime_dir "${CMAKE_BINARY_DIR}/test-runtime")
    file(MAKE_DIRECTORY "${runtime_dir}")
    file(CHMOD "${runtime_dir}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    # The user's own trash, rescue files and settings are never touched by a test.
    set(home_dir "${CMAKE_BINARY_DIR}/test-home")
    set(xdg "XDG_DATA_HOME=${home_dir}/share;XDG_STATE_HOME=${home_dir}/state;XDG_CONFIG_HOME=${home_dir}/config")
    set_tests_properties(${ARG_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${runtime_dir};${xdg};RUVO_MODULE_DIR=${RUVO_MODULE_DIR};${ARG_ENVIRONMENT}"
        TIMEOUT 600)
endfunction()
