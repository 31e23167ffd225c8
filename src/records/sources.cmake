list(APPEND TILTCORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/workbookwriter.h
  ${CMAKE_CURRENT_LIST_DIR}/workbookwriter.cpp)
