# The picture set beside the program and the application icon, rendered from the SVG sources in resources/art.
#   target picture_set  ${CMAKE_BINARY_DIR}/Contents/Resources/{Big,Colorize,Moons,Tiny,Tiny/Moons,UI}/*.png
#   target nimbo_icon   ${NIMBO_APP_ICON} = ${CMAKE_BINARY_DIR}/nimbo.ico (16, 24, 32 and 48 px, BMP entries)
# Every picture is its own rule, so only a changed drawing is rendered again. Each is rendered at twice the size
# its SVG gives (the face's layout units), so the widget stays sharp up to 200 % display scale; the renderer
# scales each picture once for the window's DPI.
find_program(NIMBO_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(NIMBO_IMAGEMAGICK_CONVERT convert REQUIRED)

set(NIMBO_ART_DIR ${CMAKE_SOURCE_DIR}/resources/art)
set(NIMBO_PICTURE_ROOT ${CMAKE_BINARY_DIR}/Contents/Resources)

file(GLOB_RECURSE picture_sources CONFIGURE_DEPENDS RELATIVE ${NIMBO_ART_DIR}
    ${NIMBO_ART_DIR}/Big/*.svg ${NIMBO_ART_DIR}/Colorize/*.svg ${NIMBO_ART_DIR}/Moons/*.svg
    ${NIMBO_ART_DIR}/Tiny/*.svg ${NIMBO_ART_DIR}/UI/*.svg)
set(pictures "")
foreach(source IN LISTS picture_sources)
    string(REGEX REPLACE "\\.svg$" ".png" picture "${source}")
    set(output "${NIMBO_PICTURE_ROOT}/${picture}")
    get_filename_component(output_dir "${output}" DIRECTORY)
    add_custom_command(OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${output_dir}"
        COMMAND ${NIMBO_RSVG_CONVERT} --zoom=2 --format=png --output "${output}" "${NIMBO_ART_DIR}/${source}"
        DEPENDS "${NIMBO_ART_DIR}/${source}"
        COMMENT "Rendering ${picture}"
        VERBATIM)
    list(APPEND pictures "${output}")
endforeach()
add_custom_target(picture_set ALL DEPENDS ${pictures})

# Windows XP reads only BMP icon entries, so each size is rendered on its own and packed uncompressed.
set(NIMBO_APP_ICON ${CMAKE_BINARY_DIR}/nimbo.ico)
set(icon_layers "")
foreach(size 16 24 32 48)
    set(layer ${CMAKE_BINARY_DIR}/nimbo_icon/${size}.png)
    add_custom_command(OUTPUT ${layer}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/nimbo_icon
        COMMAND ${NIMBO_RSVG_CONVERT} --format=png --width=${size} --height=${size} --output ${layer}
            ${NIMBO_ART_DIR}/nimbo_icon.svg
        DEPENDS ${NIMBO_ART_DIR}/nimbo_icon.svg
        VERBATIM)
    list(APPEND icon_layers ${layer})
endforeach()
add_custom_command(OUTPUT ${NIMBO_APP_ICON}
    COMMAND ${NIMBO_IMAGEMAGICK_CONVERT} ${icon_layers} ${NIMBO_APP_ICON}
    DEPENDS ${icon_layers}
    COMMENT "Packing nimbo.ico"
    VERBATIM)
add_custom_target(nimbo_icon ALL DEPENDS ${NIMBO_APP_ICON})

add_test(NAME art.picture_set
    COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/art/check_picture_set.py ${NIMBO_PICTURE_ROOT} ${NIMBO_APP_ICON})
add_test(NAME art.sources_match_generator COMMAND python3 ${NIMBO_ART_DIR}/make_picture_set.py --check)
