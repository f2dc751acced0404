// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "core/catalogue/row_element.h"
#include "core/common/result.h"
#include "core/device/drive_ejector.h"

// The commands that print or eject need Qt; the others must start without loading it. Their Qt
// work lives in a module of its own (qt_part/), opened only when such a command runs.
namespace songloader::cli {

// A song list to print into a PDF file, portrait, 40 songs a page.
struct PdfRequest {
    const SongList& songs;
    std::string codePage;
    bool letterPaper = false;  // else A4
    bool thai = false;
    std::filesystem::path out;
    std::function<void(int page, int lastPage)> onPage;
};

// What the module offers. The PDF: its page count, or why it could not be made or written.
struct QtPart {
    Result<int> (*writeSongListPdf)(const PdfRequest& request);
    std::unique_ptr<DriveEjector> (*makeDriveEjector)();
    // Reads the translation of the texts the command line shows (a .qm file); false when it cannot.
    bool (*loadTranslation)(const std::filesystem::path& file);
    // `text` of `context` in the language loaded; `text` itself where that has none.
    std::string (*translate)(const char* context, const std::string& text);
};

// Opens the module, or says why it cannot.
Result<const QtPart*> LoadQtPart();

}  // namespace songloader::cli

// The module's one exported symbol.
extern "C" const songloader::cli::QtPart* songloader_cli_qt_part();
