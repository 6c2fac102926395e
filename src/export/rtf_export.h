// The exported RTF document of a page: the heading paragraphs, the title and the page's content
// (wheel, aspect table, aspect lists, progressions, speculum, diagrams) as the paged document composed
// them, written in the order the document shows them.
#pragma once

#include <QImage>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/date_time.h"
#include "common/text_format.h"
#include "common/version.h"
#include "document/page_content.h"
#include "export/rtf_writer.h"

namespace cel::exporting {

inline constexpr const char *kProgramCaption = kChartProgramCaption;
// The refusal for the summaries, which have no export.
inline constexpr const char *kSummaryRefusal =
    "La función \"Exportar resumen a un archivo RTF\" aún no se ha implementado. Contacte al autor del "
    "programa quien le indicará cuando se habilitará esta función.";

// The question after a successful export.
std::string CreatedQuestion(const std::string &path);

// The detail cells of "Listado" and "Natal" reflowed into the rows of the exported list:
// trunc(610.5 / width) columns (at least one), each 12 pixels wider; a group heading starts a row
// in column 0; every placed text gets a leading blank.
RtfGrid ReflowList(const RtfGrid &detail, bool smallImages);

// The side of the wheel and diagram pictures: 600 pixels, 765 at 120 pixels per inch or more.
int ExportPictureSide(int previewPpi);

struct ExportResult {
    bool written = false;
    std::string message; // the refusal, when nothing was written
};

// Builds the document of the page. "Resumen" is refused (nothing written, the refusal returned).
// A missing picture source or grid for the page throws std::invalid_argument.
ExportResult BuildExportDocument(const document::PageContent &input, TCtrlToRTF &writer);
// Builds the document and saves it; file errors throw std::runtime_error and leave any old file.
// The print window and the command line pass the content of their paged document.
ExportResult ExportRtf(const document::PageContent &input, const std::string &fileName);

} // namespace cel::exporting
