list(APPEND TILTCORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/tea.h
  ${CMAKE_CURRENT_LIST_DIR}/tea.cpp
  ${CMAKE_CURRENT_LIST_DIR}/firmwareversion.h
  ${CMAKE_CURRENT_LIST_DIR}/firmwareversion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/firmwareupgrade.h
  ${CMAKE_CURRENT_LIST_DIR}/firmwareupgrade.cpp)
