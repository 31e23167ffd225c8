# tiltlink-cli: its own executable, not part of tiltcore or tiltgui.
list(APPEND TILTCLI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exitcode.h
  ${CMAKE_CURRENT_LIST_DIR}/clioptions.h
  ${CMAKE_CURRENT_LIST_DIR}/clioptions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/output.h
  ${CMAKE_CURRENT_LIST_DIR}/output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/interruptnotifier.h
  ${CMAKE_CURRENT_LIST_DIR}/interruptnotifier.cpp
  ${CMAKE_CURRENT_LIST_DIR}/portlink.h
  ${CMAKE_CURRENT_LIST_DIR}/portlink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/portcommand.h
  ${CMAKE_CURRENT_LIST_DIR}/portcommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/infocommand.h
  ${CMAKE_CURRENT_LIST_DIR}/infocommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/erasecommand.h
  ${CMAKE_CURRENT_LIST_DIR}/erasecommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/readbackcommand.h
  ${CMAKE_CURRENT_LIST_DIR}/readbackcommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/upgradecommand.h
  ${CMAKE_CURRENT_LIST_DIR}/upgradecommand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/portrunner.h
  ${CMAKE_CURRENT_LIST_DIR}/portrunner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/portlist.h
  ${CMAKE_CURRENT_LIST_DIR}/portlist.cpp)
