#pragma once
#include "datalayer/gridcontent.h"

class QIODevice;

// Writers of a list's content: the title row, every row, the footer rows, texts in GBK.
// Each gives false when the device refuses a write (or the list does not fit the type).

// Plain text: cells separated by a tab, rows ended by CR LF, unquoted.
bool WriteTxt(const GridContent &content, QIODevice &out);
// Delimited text: ";" between cells, every cell in double quotes (inner quotes doubled), CR LF.
bool WriteCsv(const GridContent &content, QIODevice &out);
// An HTML 3.2 page holding one table with the grid's alignment, colours and font.
bool WriteHtm(const GridContent &content, QIODevice &out);
// An RTF document holding one table laid out like the grid.
bool WriteRtf(const GridContent &content, QIODevice &out);
// An Excel 97 worksheet file (BIFF8 in a compound document); number cells hold their numbers.
bool WriteXls(const GridContent &content, QIODevice &out);
