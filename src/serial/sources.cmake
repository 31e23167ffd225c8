list(APPEND TILTCORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/portnames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/portpermission.cpp
  ${CMAKE_CURRENT_LIST_DIR}/portwatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/terminaltext.cpp)
list(APPEND TILTGUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/serial.cpp
  ${CMAKE_CURRENT_LIST_DIR}/assistant_slots.cpp)
