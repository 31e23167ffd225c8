list(APPEND TILTGUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/mainwindow.h
  ${CMAKE_CURRENT_LIST_DIR}/mainwindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/language.cpp
  ${CMAKE_CURRENT_LIST_DIR}/port_slots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup.cpp)
