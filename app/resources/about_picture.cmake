# Carries the about window's picture inside quovella_app: the PNG's bytes become an array in a
# generated header (rewritten only when they change), and configuring runs again whenever the
# PNG does. Included from app/CMakeLists.txt after quovella_app is defined.
set(quovella_about_png ${CMAKE_CURRENT_LIST_DIR}/about_picture.png)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${quovella_about_png})
file(READ ${quovella_about_png} quovella_about_hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," quovella_about_bytes "${quovella_about_hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" quovella_about_bytes "${quovella_about_bytes}")
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/generated/about_picture_png.h
     CONTENT "// Generated from app/resources/about_picture.png; do not edit.\n#pragma once\n\nnamespace quovella {\ninline constexpr unsigned char kAboutPicturePng[] = {\n@quovella_about_bytes@\n};\n}  // namespace quovella\n"
     @ONLY)
target_include_directories(quovella_app PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/generated)
target_link_libraries(quovella_app PRIVATE PNG::PNG)
