# Engine sources, in layer order: file and pages, usage maps, table definitions and rows.
set(JET_ENGINE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(JET_ENGINE_SOURCES
  ${JET_ENGINE_DIR}/JetError.cpp
  ${JET_ENGINE_DIR}/ByteView.cpp
  ${JET_ENGINE_DIR}/PageSource.cpp
  ${JET_ENGINE_DIR}/Rc4.cpp
  ${JET_ENGINE_DIR}/DatabaseHeader.cpp
  ${JET_ENGINE_DIR}/DataPage.cpp
  ${JET_ENGINE_DIR}/UsageMap.cpp
  ${JET_ENGINE_DIR}/ColumnDefinition.cpp
  ${JET_ENGINE_DIR}/TableDefinition.cpp
  ${JET_ENGINE_DIR}/TextDecoder.cpp
  ${JET_ENGINE_DIR}/LongValue.cpp
  ${JET_ENGINE_DIR}/RowDecoder.cpp
  ${JET_ENGINE_DIR}/TableScan.cpp
  ${JET_ENGINE_DIR}/Catalog.cpp
  ${JET_ENGINE_DIR}/Database.cpp
  ${JET_ENGINE_DIR}/OleDate.cpp
)
