# Build conventions shared by every folder.

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-Wall -Wextra)
endif()

if(ZZ_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
    add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00)
    if(MINGW)
        # A clean Windows must need nothing but the two deliverables.
        add_link_options(-static)
    endif()
    set(ZZ_WINEPREFIX ${CMAKE_BINARY_DIR}/../wine-prefix CACHE PATH "Wine prefix for the tests")
    configure_file(${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
    if(CMAKE_CROSSCOMPILING)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
    endif()
else()
    # The native trees only test, fuzz and measure: there every standard container checks the
    # index it is given, so that a read past the end fails a test instead of passing by luck.
    add_compile_definitions(_GLIBCXX_ASSERTIONS)
endif()

# Name of this tree in test names, so one summary over several trees stays readable.
if(WIN32)
    set(ZZ_TREE win)
elseif(ZZ_SANITIZE)
    set(ZZ_TREE asan)
else()
    set(ZZ_TREE native)
endif()

# A library of portable code: never includes <windows.h>, built and tested everywhere.
function(zz_core_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    set_property(GLOBAL APPEND PROPERTY ZZ_CORE_LIBS ${name})
endfunction()

# A library of the Win32 shell: built only for Windows.
function(zz_win_library name)
    if(WIN32)
        add_library(${name} STATIC ${ARGN})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        set_property(GLOBAL APPEND PROPERTY ZZ_WIN_LIBS ${name})
    endif()
endfunction()

if(WIN32)
    # Every program and library of the Windows tree in one folder, as they ship.
    set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()

# The test data folder as the test program sees it (Wine maps the Linux root to Z:).
if(CMAKE_CROSSCOMPILING AND WIN32)
    set(ZZ_TEST_DATA_DIR "Z:${PROJECT_SOURCE_DIR}/tests/data")
else()
    set(ZZ_TEST_DATA_DIR "${PROJECT_SOURCE_DIR}/tests/data")
endif()

# A GoogleTest program under Wine, once in a Japanese and once in an English locale:
# a Unicode program must behave the same in both.
function(zz_add_wine_test label target)
    foreach(locale ja_JP.UTF-8 en_US.UTF-8)
        string(SUBSTRING ${locale} 0 2 lang)
        add_test(NAME win.${label}.${lang} COMMAND ${target} --gtest_brief=1)
        set_tests_properties(win.${label}.${lang} PROPERTIES
            ENVIRONMENT "LC_ALL=${locale};LANG=${locale}"
            TIMEOUT 600)
    endforeach()
endfunction()
