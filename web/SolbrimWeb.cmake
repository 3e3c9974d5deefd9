# The browser build (emcmake cmake): the same libraries as the desktop, built
# with Emscripten, plus the web host and its page. Emscripten brings GLFW 3,
# the fixed-function GL emulation and OpenAL itself, so the desktop's
# pkg-config targets become link options here. stb is header-only from the
# system (its implementation is compiled into the web host), and the asset
# generator runs natively: its output folder is given as SOLBRIM_WEB_DATA.
set(SOLBRIM_WEB_DATA "" CACHE PATH "The assets the native generator wrote (its data/ folder)")
if(NOT IS_DIRECTORY "${SOLBRIM_WEB_DATA}")
  message(FATAL_ERROR "SOLBRIM_WEB_DATA must name the generated data folder (scripts/web sets it)")
endif()

add_library(solbrim_web_glfw INTERFACE)
target_link_options(solbrim_web_glfw INTERFACE -sUSE_GLFW=3)
add_library(PkgConfig::GLFW ALIAS solbrim_web_glfw)

add_library(solbrim_web_gl INTERFACE)
target_link_options(solbrim_web_gl INTERFACE -sLEGACY_GL_EMULATION=1)
add_library(OpenGL::GL ALIAS solbrim_web_gl)

add_library(solbrim_web_openal INTERFACE)
target_link_options(solbrim_web_openal INTERFACE -lopenal)
add_library(PkgConfig::OPENAL ALIAS solbrim_web_openal)

add_library(solbrim_web_stb INTERFACE)
target_include_directories(solbrim_web_stb SYSTEM INTERFACE /usr/include/stb)
add_library(PkgConfig::STB ALIAS solbrim_web_stb)

# The game throws runtime objects and catches them at the host's guard.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# The game's part of the desktop's subsystem list: the asset generator,
# tests, benchmarks and fuzzers stay native.
foreach(dir runtime codec host glfw app graphics input audio game music)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()
add_subdirectory(web)
