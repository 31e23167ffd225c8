list(APPEND TILTCORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/sensorcommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/modulecommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/moduleanswer.cpp)
list(APPEND TILTGUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/sensorparams_slots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/moduleparams_slots.cpp)
