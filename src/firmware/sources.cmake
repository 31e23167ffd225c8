list(APPEND TILTCORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/aescipher.h
  ${CMAKE_CURRENT_LIST_DIR}/aescipher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/firmwarefile.h
  ${CMAKE_CURRENT_LIST_DIR}/firmwarefile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/firmwareimage.h
  ${CMAKE_CURRENT_LIST_DIR}/firmwareimage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tea.h
  ${CMAKE_CURRENT_LIST_DIR}/tea.cpp
  ${CMAKE_CURRENT_LIST_DIR}/firmwareversion.h
  ${CMAKE_CURRENT_LIST_DIR}/firmwareversion.cpp
  ${CMAKE_CURRENT_LIST_DIR}/firmwareupgrade.h
  ${CMAKE_CURRENT_LIST_DIR}/firmwareupgrade.cpp)
list(APPEND TILTGUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/upgrade_slots.cpp)
