list(APPEND TILTCORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/chartseries.h
  ${CMAKE_CURRENT_LIST_DIR}/chartseries.cpp
  ${CMAKE_CURRENT_LIST_DIR}/livewindow.h
  ${CMAKE_CURRENT_LIST_DIR}/livewindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/levelrule.h
  ${CMAKE_CURRENT_LIST_DIR}/levelrule.cpp)
# The widgets: the only files that include qcustomplot.h are chartplot.cpp, the tests and the benchmark.
list(APPEND TILTGUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/chartplot.h
  ${CMAKE_CURRENT_LIST_DIR}/chartplot.cpp
  ${CMAKE_CURRENT_LIST_DIR}/levelview.h
  ${CMAKE_CURRENT_LIST_DIR}/levelview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/charttab.h
  ${CMAKE_CURRENT_LIST_DIR}/charttab.cpp)
