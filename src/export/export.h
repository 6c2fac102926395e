// Document export: the RTF writer (font and colour tables, paragraphs, bordered tables, pictures carried
// in Windows metafiles of our own writing) and the content of an exported page, built from the grids
// of the analysis tables and the pictures of the chart graphics.
#pragma once

#include "export/page_content.h"
#include "export/rtf_export.h"
#include "export/rtf_writer.h"
#include "export/wmf_writer.h"
