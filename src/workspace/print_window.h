// The print window TFormPrint: the paged document of the main window's current page in a preview with
// zoom and page thumbnails, printing the current or all pages (a PDF file always among the printers),
// the printer set-up, the wheel page's orientation and the RTF export of the same content.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

#include "common/notifier.h"
#include "document/layout.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QPrinter;
class QRadioButton;
class QScrollArea;
class QToolButton;

namespace cel::workspace {

class TFormPrint : public QDialog {
public:
    // content: what the page shows (its callbacks refer to the workspace, which outlives the window).
    TFormPrint(Notifier &notifier, document::PageContent content, document::LayoutOptions options, bool hints,
               QWidget *parent = nullptr);
    ~TFormPrint() override;

    // What the main window's menu does: the preview ("Impresión preliminar"), the print dialog at once
    // ("Imprimir") and the RTF export at once ("Exportar a archivo RTF").
    static void Preview(Notifier &notifier, document::PageContent content, document::LayoutOptions options,
                        bool hints, QWidget *parent);
    static void PrintDirect(Notifier &notifier, document::PageContent content,
                            document::LayoutOptions options, QWidget *parent);
    static void ExportRtfDirect(Notifier &notifier, document::PageContent content,
                                document::LayoutOptions options, QWidget *parent);

    const document::Document &Document() const { return document_; }
    int CurrentPage() const { return current_; } // 0-based
    void ShowPage(int index);
    double Zoom() const { return zoom_; } // 1 is 100 %
    void SetZoom(double zoom);
    // Portrait or landscape: rebuilds the document (the wheel page only offers the choice).
    void SetLandscape(bool landscape);
    // The grid of the aspects beside the wheel: rebuilds the document (the wheel page only offers it).
    void SetAspectGrid(bool shown);
    bool AllPages() const;
    // Paints the chosen pages (current or all) on a printer that is set up; false when it fails.
    bool PrintOn(QPrinter &printer);
    // "&Imprimir": the print dialog (which always offers a PDF file) on the chosen pages, then closes.
    void Print();
    // Writes all pages to a PDF file chosen in a save dialog.
    void SavePdf();
    // "RTF": refuses the summaries, asks for the file, writes it and offers to open it.
    void ExportRtf();

private:
    void Rebuild();
    void Refresh(); // preview picture, thumbnails, page label and buttons

    Notifier &notifier_;
    document::LayoutOptions options_;
    document::Document document_;
    std::unique_ptr<QPrinter> printer_;
    int current_ = 0;
    double zoom_ = 0.75;
    QScrollArea *scroll_ = nullptr;
    QLabel *preview_ = nullptr;
    QListWidget *thumbnails_ = nullptr;
    QLabel *pageLabel_ = nullptr;
    QLabel *zoomLabel_ = nullptr;
    QToolButton *first_ = nullptr;
    QToolButton *prior_ = nullptr;
    QToolButton *next_ = nullptr;
    QToolButton *last_ = nullptr;
    QToolButton *portrait_ = nullptr;
    QToolButton *landscape_ = nullptr;
    QCheckBox *aspectGrid_ = nullptr;
    QRadioButton *currentPage_ = nullptr;
    QRadioButton *allPages_ = nullptr;
};

} // namespace cel::workspace
