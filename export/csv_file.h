#pragma once

#include <cstddef>
#include <ostream>
#include <span>
#include <string>

#include "minedata/export_result.h"
#include "minedata/mine_array.h"

// Comma-separated text of the mines as the data file holds them: a header of
// the 47 MRDS column names, then one line per mine, every line ending in
// CR LF, texts in UTF-8 (DataTextToUtf8). A field is written as it is unless
// it holds a comma, a double quote, a CR or LF, or starts or ends with a
// blank; then it is put in double quotes with each double quote doubled,
// which Vemra's tokenizer and GDAL's CSV driver both read back as the text.

// Writes the header and the line of each of mines[indices[i]] in that order.
// Precondition: every index < mines.GetSize().
void WriteCsvFile(std::ostream& out, const CMineArray& mines, std::span<const std::size_t> indices);

// Writes the file to `path` through the safe writer: on failure nothing is
// left behind and an earlier file at `path` is as it was.
ExportResult ExportCsvFile(const std::string& path, const CMineArray& mines,
                           std::span<const std::size_t> indices);
