// Document export: the RTF writer (font and colour tables, paragraphs, bordered tables, pictures drawn at
// print resolution and carried as PNG), a Windows metafile writer of our own for bitmaps, and the RTF
// document of a page, read from the content the paged document composed.
#pragma once

#include "export/rtf_export.h"
#include "export/rtf_writer.h"
#include "export/wmf_writer.h"
