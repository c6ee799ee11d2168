# The program's version is the project's VERSION in the top CMakeLists.txt;
# this adds the commit it was built from and that commit's date, read from git
# when the build is configured. A build from a source archive without git
# passes them as -DVELMORA_COMMIT=... -DVELMORA_COMMIT_DATE=YYYY-MM-DD.
# The result is the generated header app/Version.h in the build tree.
# Who holds the copyright and since when, for the --version text, the Windows
# version resource and the packages.
set(VELMORA_AUTHORS "The Velmora developers")
set(VELMORA_COPYRIGHT_YEAR 2026)
find_package(Git QUIET)
if(NOT DEFINED VELMORA_COMMIT AND GIT_FOUND)
  execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --short=12 HEAD
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" OUTPUT_VARIABLE VELMORA_COMMIT
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE commit_result)
  if(NOT commit_result EQUAL 0)
    unset(VELMORA_COMMIT)
  endif()
  execute_process(COMMAND "${GIT_EXECUTABLE}" log -1 --format=%cs HEAD
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" OUTPUT_VARIABLE VELMORA_COMMIT_DATE
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  # Configure again when HEAD moves, so the header never names an old commit.
  execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --absolute-git-dir
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" OUTPUT_VARIABLE git_dir
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(git_dir AND EXISTS "${git_dir}/logs/HEAD")
    set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY
      CMAKE_CONFIGURE_DEPENDS "${git_dir}/logs/HEAD")
  endif()
endif()
if(NOT VELMORA_COMMIT)
  set(VELMORA_COMMIT "unknown")
endif()
if(NOT VELMORA_COMMIT_DATE)
  set(VELMORA_COMMIT_DATE "unknown")
endif()
configure_file("${PROJECT_SOURCE_DIR}/app/Version.h.in"
  "${PROJECT_BINARY_DIR}/generated/app/Version.h" @ONLY)
