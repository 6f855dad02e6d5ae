# SPDX-License-Identifier: MIT
# The application icon is drawn once, as res/varnola.svg; every image of it
# is rendered from that drawing at its own size while the program is built.
include_guard(GLOBAL)
find_program(VARNOLA_RSVG_CONVERT rsvg-convert REQUIRED)
set(VARNOLA_ICON_SVG ${CMAKE_CURRENT_LIST_DIR}/../res/varnola.svg)

# varnola_render_icon(<out-var> <folder> <size>...): FOLDER/<size>/varnola.png
# for each size; the paths go to OUT-VAR.
function(varnola_render_icon out_var folder)
  set(pngs)
  foreach(size IN LISTS ARGN)
    set(png ${folder}/${size}/varnola.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}/${size}
      COMMAND ${VARNOLA_RSVG_CONVERT} --width ${size} --height ${size} --format png
              --output ${png} ${VARNOLA_ICON_SVG}
      DEPENDS ${VARNOLA_ICON_SVG}
      COMMENT "Rendering the icon at ${size} px"
      VERBATIM)
    list(APPEND pngs ${png})
  endforeach()
  set(${out_var} ${pngs} PARENT_SCOPE)
endfunction()

# varnola_icon_source(<source> <png>...): SOURCE, the C++ definition of the
# icon resource, holding the given renders (largest first). Its writer is
# built with the build machine's compiler, so this is not for a cross build.
function(varnola_icon_source source)
  find_package(Qt6 REQUIRED COMPONENTS Gui)
  add_executable(icon-source ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../tools/icon_source.cpp)
  target_link_libraries(icon-source PRIVATE Qt6::Gui)
  target_compile_options(icon-source PRIVATE -Wall -Wextra -Wpedantic)
  add_custom_command(OUTPUT ${source}
    COMMAND icon-source ${source} ${ARGN}
    DEPENDS icon-source ${ARGN}
    COMMENT "Writing the icon resource"
    VERBATIM)
endfunction()
