list(APPEND TILTCORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/storedrecord.h
  ${CMAKE_CURRENT_LIST_DIR}/storedrecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recordreadback.h
  ${CMAKE_CURRENT_LIST_DIR}/recordreadback.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recordtablemodel.h
  ${CMAKE_CURRENT_LIST_DIR}/recordtablemodel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/workbookwriter.h
  ${CMAKE_CURRENT_LIST_DIR}/workbookwriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/csvwriter.h
  ${CMAKE_CURRENT_LIST_DIR}/csvwriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exporttarget.h
  ${CMAKE_CURRENT_LIST_DIR}/exporttarget.cpp)
list(APPEND TILTGUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/rownumberheader.h
  ${CMAKE_CURRENT_LIST_DIR}/rownumberheader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/readback_slots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/export_slots.cpp)
