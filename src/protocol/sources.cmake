list(APPEND TILTCORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/protocol.h
  ${CMAKE_CURRENT_LIST_DIR}/protocol.cpp
  ${CMAKE_CURRENT_LIST_DIR}/checksum.h
  ${CMAKE_CURRENT_LIST_DIR}/checksum.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exchange.h
  ${CMAKE_CURRENT_LIST_DIR}/exchange.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timing.h
  ${CMAKE_CURRENT_LIST_DIR}/encoding.h
  ${CMAKE_CURRENT_LIST_DIR}/encoding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/replyassembler.h
  ${CMAKE_CURRENT_LIST_DIR}/replyassembler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reply.h
  ${CMAKE_CURRENT_LIST_DIR}/reply.cpp
  ${CMAKE_CURRENT_LIST_DIR}/atlines.cpp)
list(APPEND TILTGUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/dispatch_slots.cpp)
