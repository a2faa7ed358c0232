#pragma once
#include "data/jet/PageSource.h"
#include "data/jet/TableDefinition.h"
#include "toolkit/base/CsvText.h"

// A table as CSV (jetdump): a line of the column names, then one line per live row, each
// value as FormatValue writes it, formatted straight from the row's stored bytes. A row
// that cannot be read leaves no partial line in `csv`: the error goes to the caller with
// the rows before it written.
void WriteTableCsv(const Jet::PageSource& source, const Jet::TableDefinition& table,
                   LumoUtility::CsvWriter& csv);
