// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt work of the CLI: the song list as a PDF file, and ejecting through the disk service.
#include <QGuiApplication>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTranslator>

#include <cstdlib>
#include <string>

#include "cli/qt_part.h"
#include "core/common/safe_file.h"
#include "core/output/print/song_list_pages.h"
#include "qtpaint/song_list_print_job.h"
#include "udisks/udisks_drive_ejector.h"

namespace songloader::cli {

namespace {

// Pixels per inch of the PDF's device units.
constexpr int kPdfResolution = 600;

// The PDF goes into the temporary file beside the target as it is made, never whole into
// memory; the writer's many small pieces are gathered into large writes.
class SafeFileDevice final : public QIODevice {
public:
    explicit SafeFileDevice(SafeFileWriter& file) : file_(file) { open(QIODevice::WriteOnly); }
    ~SafeFileDevice() override { Flush(); }
    bool isSequential() const override { return true; }
    bool Flush() {
        const bool written = pending_.empty() || file_.Write(pending_.data(), pending_.size()).ok();
        pending_.clear();
        return written;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        pending_.append(data, static_cast<std::size_t>(size));
        if (pending_.size() >= kChunk && !Flush()) return -1;
        return size;
    }

private:
    static constexpr std::size_t kChunk = 1 << 20;
    SafeFileWriter& file_;
    std::string pending_;
};

// Renders every page into `pdf`; returns the number of pages, 0 when the PDF could not be made.
// An empty list still gets its one page with the title and an empty table.
int RenderPdf(const PdfRequest& request, QIODevice& pdf) {
    QPdfWriter writer(&pdf);
    writer.setResolution(kPdfResolution);
    const QPageSize paper(request.letterPaper ? QPageSize::Letter : QPageSize::A4);
    writer.setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle("Song list");
    writer.setCreator("songloader-cli");
    const int highest = print::HighestPage(request.songs.size());
    return qtpaint::PrintPages(writer, 1, highest > 0 ? highest : 1, highest,
                               print::SongListPageRenderer(request.songs, request.thai, request.codePage),
                               request.onPage);
}

Result<int> WriteSongListPdf(const PdfRequest& request) {
    // Fonts need a GUI application, but a PDF needs no display: the offscreen platform always
    // serves, so a display named but out of reach cannot stop the command.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "songloader-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);

    SafeFileWriter out(request.out);
    int pages = 0;
    {
        SafeFileDevice device(out);
        pages = RenderPdf(request, device);
    }
    if (pages == 0) {
        out.Abort();
        return Fail("the PDF could not be made");
    }
    if (!out.Commit()) return Fail("cannot write " + request.out.string() + ": " + out.status().message());
    return pages;
}

std::unique_ptr<DriveEjector> MakeDriveEjector() { return std::make_unique<UdisksDriveEjector>(); }

QTranslator& Translator() {
    static QTranslator translator;
    return translator;
}

bool LoadTranslation(const std::filesystem::path& file) {
    return Translator().load(QString::fromStdString(file.string()));
}

std::string Translate(const char* context, const std::string& text) {
    const QString translated = Translator().translate(context, text.c_str());
    return translated.isEmpty() ? text : translated.toStdString();
}

const QtPart kQtPart{WriteSongListPdf, MakeDriveEjector, LoadTranslation, Translate};

}  // namespace

}  // namespace songloader::cli

extern "C" __attribute__((visibility("default"))) const songloader::cli::QtPart* songloader_cli_qt_part() {
    return &songloader::cli::kQtPart;
}
