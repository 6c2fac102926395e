// Document export: the RTF writer (font and colour tables, paragraphs, bordered tables, pictures carried
// in Windows metafiles of our own writing) and the RTF document of a page, read from the content the
// paged document composed.
#pragma once

#include "export/rtf_export.h"
#include "export/rtf_writer.h"
#include "export/wmf_writer.h"
