// A real reader: every page kind's document is converted to PDF by LibreOffice, which must succeed with
// the pictures in place. Skipped when LibreOffice or pdfimages is not installed. Set
// CEL_KEEP_EXPORT_PDF to a folder to keep the documents and PDF files for looking at them.
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "export/rtf_export.h"
#include "export_fixtures.h"

namespace cel::exporting {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    int exitCode = -1;
    std::string out;
};

ProgramRun RunProgram(const QString &program, const QStringList &arguments, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.out = "timed out or did not start: " + process.errorString().toStdString();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAll().toStdString();
    return run;
}

std::size_t Count(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Image lines of "pdfimages -list" (after its two heading lines).
std::size_t ImageCount(const std::string &listing) {
    std::istringstream in(listing);
    std::string line;
    std::size_t n = 0;
    for (int i = 0; std::getline(in, line); ++i)
        if (i >= 2 && !line.empty())
            ++n;
    return n;
}

TEST(LibreOfficeReader, EveryPageKindConvertsWithItsPictures) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    const QString pdfimages = QStandardPaths::findExecutable(QStringLiteral("pdfimages"));
    if (office.isEmpty() || pdfimages.isEmpty())
        GTEST_SKIP() << "LibreOffice or pdfimages is not installed";

    const char *keep = std::getenv("CEL_KEEP_EXPORT_PDF");
    const fs::path dir =
        keep != nullptr && *keep != '\0'
            ? fs::path(keep)
            : fs::temp_directory_path() / ("cel_export_reader_test_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "profile");

    struct Page {
        document::PageKind page;
        std::string name;
        int inner, outer;
        bool ambos;
    };
    const std::vector<Page> pages{{document::PageKind::Rueda, "rueda", 1, 1, false},
                                  {document::PageKind::Rueda, "rueda_doble", 1, 3, false},
                                  {document::PageKind::Tabla, "tabla", 1, 1, false},
                                  {document::PageKind::Listado, "listado", 3, 1, false},
                                  {document::PageKind::Natal, "natal", 1, 1, true},
                                  {document::PageKind::Progresiones, "progresiones", 1, 1, false},
                                  {document::PageKind::Speculum, "speculum", 1, 1, false},
                                  {document::PageKind::Diagramas, "diagramas", 1, 1, false}};
    QStringList arguments{QStringLiteral("-env:UserInstallation=file://") +
                              QString::fromStdString((dir / "profile").string()),
                          QStringLiteral("--headless"),
                          QStringLiteral("--convert-to"),
                          QStringLiteral("pdf"),
                          QStringLiteral("--outdir"),
                          QString::fromStdString(dir.string())};
    testing_fixtures::RealCharts charts;
    std::vector<std::size_t> pictures;
    std::vector<std::string> names;
    for (const Page &p : pages) {
        charts.SetItems(p.inner, p.outer);
        const document::ChartState state = charts.State();
        document::PageChoices choices;
        choices.ambos = p.ambos;
        choices.showStrength = p.page == document::PageKind::Tabla;
        const document::PageContent input =
            document::MakePageContent(p.page, state, choices, testing_fixtures::SampleHeading());
        TCtrlToRTF writer;
        ASSERT_TRUE(BuildExportDocument(input, writer).written);
        pictures.push_back(Count(writer.Body(), "{\\pict"));
        const fs::path file = dir / (p.name + ".rtf");
        writer.SaveToFile(file.string());
        arguments << QString::fromStdString(file.string());
        names.push_back(p.name);
    }
    {
        // Nothing but the header and the two closing paragraphs.
        TCtrlToRTF writer;
        writer.AddFont(RtfFont{});
        writer.WriteHeader();
        writer.WriteText("", RtfFont{}, kAlignLeft);
        writer.WriteText("", RtfFont{}, kAlignLeft);
        const fs::path file = dir / "vacio.rtf";
        writer.SaveToFile(file.string());
        arguments << QString::fromStdString(file.string());
        names.push_back("vacio");
        pictures.push_back(0);
    }

    const ProgramRun convert = RunProgram(office, arguments, 300000);
    ASSERT_EQ(convert.exitCode, 0) << convert.out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const fs::path pdf = dir / (names[i] + ".pdf");
        ASSERT_TRUE(fs::exists(pdf)) << names[i] << "\n" << convert.out;
        const ProgramRun list =
            RunProgram(pdfimages, {QStringLiteral("-list"), QString::fromStdString(pdf.string())}, 60000);
        ASSERT_EQ(list.exitCode, 0) << list.out;
        EXPECT_EQ(ImageCount(list.out), pictures[i]) << names[i] << "\n" << list.out.substr(0, 2000);
        // The tables are as wide as their texts: no row wraps, so the progressions and both specula
        // keep to one page.
        if (names[i] == "progresiones" || names[i] == "speculum") {
            const ProgramRun info =
                RunProgram(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf.string())}, 60000);
            const std::size_t at = info.out.find("Pages:");
            ASSERT_NE(at, std::string::npos) << info.out;
            EXPECT_EQ(std::stoi(info.out.substr(at + 6)), 1) << names[i];
        }
    }
    if (keep == nullptr || *keep == '\0')
        fs::remove_all(dir);
}

} // namespace
} // namespace cel::exporting
