# The site (build-web/site/): the pages, the module, the built-in default images, the pictures,
# our icons and the font subset. Included from app/ once the lxtools module is defined.
set(LX_SITE ${CMAKE_BINARY_DIR}/site)
set(LX_SITE_SOURCE ${CMAKE_SOURCE_DIR}/ui/web/site)
set_target_properties(lxtools PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LX_SITE})
target_link_options(lxtools PRIVATE
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=131072
  -sMODULARIZE=1 -sEXPORT_NAME=createLxModule -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1
  "-sEXPORTED_FUNCTIONS=_lx_run,_lx_scenario,_lx_list_ids"
  "-sEXPORTED_RUNTIME_METHODS=ccall,FS"
  --preload-file ${CMAKE_SOURCE_DIR}/resources/Data@/app/Data)
set_property(TARGET lxtools APPEND PROPERTY LINK_DEPENDS ${LX_DEFAULT_IMAGES})

file(GLOB LX_SITE_FILES CONFIGURE_DEPENDS ${LX_SITE_SOURCE}/*)
list(REMOVE_ITEM LX_SITE_FILES ${LX_SITE_SOURCE}/tool.html.in)
# The two tools' pages differ only by the tool's name.
foreach(LX_TOOL ambrel ostrel)
  string(SUBSTRING ${LX_TOOL} 0 1 first)
  string(TOUPPER ${first} first)
  string(SUBSTRING ${LX_TOOL} 1 -1 rest)
  set(LX_TOOL_TITLE ${first}${rest})
  configure_file(${LX_SITE_SOURCE}/tool.html.in ${LX_SITE}/${LX_TOOL}.html @ONLY)
endforeach()
set(LX_SITE_STAMP ${CMAKE_BINARY_DIR}/site.stamp)
add_custom_command(OUTPUT ${LX_SITE_STAMP}
  COMMAND ${CMAKE_COMMAND} -E copy ${LX_SITE_FILES} ${LX_SITE}
  COMMAND ${CMAKE_COMMAND} -E touch ${LX_SITE_STAMP}
  DEPENDS ${LX_SITE_FILES}
  COMMENT "Placing the site's pages")
add_custom_target(lx_site ALL DEPENDS ${LX_SITE_STAMP} lxtools)

# The font: fonts-wqy-microhei, the face the Qt host shows for the templates' 宋体 and System
# (its proportional Latin fits the labels as the platform's fonts do; a Ming face's fixed-width
# Latin overflows them), cut to the characters of our resources, dialogs, messages and pages.
set(LX_WEB_FONT /usr/share/fonts/truetype/wqy/wqy-microhei.ttc CACHE FILEPATH "CJK font the site's subset is cut from")
file(GLOB LX_TEXT_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/resources/*.cpp ${CMAKE_SOURCE_DIR}/resources/*.h
  ${CMAKE_SOURCE_DIR}/app/*.cpp ${CMAKE_SOURCE_DIR}/tx/*.cpp ${CMAKE_SOURCE_DIR}/rx/*.cpp
  ${CMAKE_SOURCE_DIR}/channel/*.cpp ${CMAKE_SOURCE_DIR}/channel/ui/*.cpp ${CMAKE_SOURCE_DIR}/settings/*.cpp
  ${CMAKE_SOURCE_DIR}/settings/ui/*.cpp ${CMAKE_SOURCE_DIR}/core/*.cpp ${CMAKE_SOURCE_DIR}/core/*.h
  ${CMAKE_SOURCE_DIR}/ui/*.cpp ${CMAKE_SOURCE_DIR}/ui/*.h ${LX_SITE_SOURCE}/*.js ${LX_SITE_SOURCE}/*.html ${LX_SITE_SOURCE}/*.html.in
  ${CMAKE_SOURCE_DIR}/resources/Data/*/EEPROM.h)
add_custom_command(OUTPUT ${LX_SITE}/lxfont.woff2
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/ui/web/subset_font.py ${LX_SITE}/lxfont.woff2 ${LX_WEB_FONT} ${LX_TEXT_SOURCES}
  DEPENDS ${CMAKE_SOURCE_DIR}/ui/web/subset_font.py ${LX_TEXT_SOURCES}
  COMMENT "Cutting the font to our characters")
add_custom_target(lx_site_font ALL DEPENDS ${LX_SITE}/lxfont.woff2)

# Last: the pictures and icons placed, the offline store's list written into the service
# worker, and the site packed as lxtools-web-<version>.zip.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/site-finished.stamp
  COMMAND ${CMAKE_COMMAND} -DSITE=${LX_SITE} -DSOURCE=${LX_SITE_SOURCE} -DPICTURES=${LX_HOST_PICTURES}
          -DZIP=${CMAKE_BINARY_DIR}/lxtools-web-${PROJECT_VERSION}.zip -P ${CMAKE_SOURCE_DIR}/ui/web/finish_site.cmake
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/site-finished.stamp
  DEPENDS ${LX_SITE_STAMP} ${LX_SITE}/lxfont.woff2 lxtools ${LX_HOST_PICTURES}/stamp ${CMAKE_SOURCE_DIR}/ui/web/finish_site.cmake
  COMMENT "Finishing the site: pictures, offline list, zip")
add_custom_target(lx_site_finished ALL DEPENDS ${CMAKE_BINARY_DIR}/site-finished.stamp)
add_dependencies(lx_site_finished lx_host_pictures lx_site lx_site_font)
