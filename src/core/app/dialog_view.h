// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/control_id.h"
#include "core/cloud/download_failure.h"
#include "core/cloud/download_progress.h"
#include "core/cloud/download_protocol.h"
#include "core/common/notice.h"
#include "core/output/print/song_list_pages.h"

namespace songloader {

// The six column texts of a list row: number, language, title, artist, composer, lyricist.
using RowTexts = std::array<std::string, 6>;

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };
// How a print preview ended: closed, or with its print button (which asks for a print job).
enum class PreviewEnd { Closed, PrintChosen };

// The batch a transfer belongs to: its song (from 1) of `songCount`, and the batch's bytes done
// before it and in all (0: not known).
struct TransferBatch {
    std::size_t song = 0;
    std::size_t songCount = 0;
    std::uint64_t bytesBefore = 0;
    std::uint64_t totalBytes = 0;
};

// A file chooser as the dialog asks for it. `filter` uses the "Label|patterns|...||" form.
struct FileDialogOptions {
    std::string filter;
    std::string defaultExtension;
    bool mustExist = false;         // open: only an existing file may be chosen
    bool confirmOverwrite = false;  // save: ask before an existing file is replaced
};

// Everything the main window's logic does to the screen goes through this interface; the desktop
// window implements it, tests implement it with a recording fake. Texts cross it as UTF-8, paths
// as native file names. Calls made by the logic never raise the control's own notifications
// (setting the number box's text does not run the number check): the logic runs any follow-up
// itself. Rows of the list views are addressed by position from 0.
class DialogView {
public:
    virtual ~DialogView() = default;

    // Controls.
    virtual void Enable(ControlId control, bool enabled) = 0;
    virtual void SetText(ControlId control, const std::string& text) = 0;
    virtual std::string GetText(ControlId control) = 0;
    virtual void SetFocus(ControlId control) = 0;
    // Selected item of a combo box, -1 for none; -1 clears the selection.
    virtual int ComboSelection(ControlId combo) = 0;
    virtual void SetComboSelection(ControlId combo, int index) = 0;

    // List views WorkList and DeviceList.
    virtual void DeleteAllRows(ControlId list) = 0;
    virtual void InsertRow(ControlId list, int row, const RowTexts& texts) = 0;
    virtual void SetRowTexts(ControlId list, int row, const RowTexts& texts) = 0;
    virtual void DeleteRow(ControlId list, int row) = 0;
    virtual void SetRowChecked(ControlId list, int row, bool checked) = 0;
    virtual bool IsRowChecked(ControlId list, int row) = 0;
    // Replaces every row at once, unticked: views and their readers learn of it as one change.
    virtual void SetAllRows(ControlId list, std::vector<RowTexts> rows) = 0;
    // Marks `rows` (ascending) as songs already on the device, apart from their ticks (a tick means
    // "chosen"), and selects the last of them, in one update. The keyboard focus stays where it
    // is and the list does not scroll.
    virtual void MarkRows(ControlId list, const std::vector<int>& rows) = 0;
    // Shows only `rows` (ascending), or every row when none are given. Rows keep their positions:
    // the view reports and takes them as before, whatever it shows or in which order.
    virtual void ShowOnlyRows(ControlId list, const std::optional<std::vector<int>>& rows) = 0;
    // The rows the user selected, ascending.
    virtual std::vector<int> SelectedRows(ControlId list) = 0;
    // Check boxes in front of the rows on or off (grid lines and full-row select stay on).
    virtual void ShowCheckBoxes(ControlId list, bool shown) = 0;
    virtual void SetRedraw(ControlId list, bool redraw) = 0;

    // The main window's progress bar (Progress).
    virtual void SetProgressRange(int lower, int upper) = 0;
    virtual void SetProgressPos(int position) = 0;

    // Window.
    // Every command of the logic runs between these two (a wait cursor, say). The logic answers a
    // close request that arrives meanwhile once the command has ended.
    virtual void CommandStarted() = 0;
    virtual void CommandEnded() = 0;
    // Schedules a repaint of the window; lists whose redraw is off are painted when it is on again.
    virtual void Repaint() = 0;
    // Handles at most one pending event so the window stays alive during long work. User input
    // (keys, clicks) is held back meanwhile, so no command can start inside another.
    virtual void PumpMessage() = 0;
    // A batch of copies the user may stop after the file being copied: the way to ask for it is
    // offered while `offered` is true (the one input let through meanwhile), and StopRequested
    // tells whether the user asked since it was offered.
    virtual void OfferStop(bool offered) = 0;
    virtual bool StopRequested() = 0;
    virtual void StartTimer(int id, int milliseconds) = 0;
    virtual void StopTimer(int id) = 0;
    virtual void CloseWindow() = 0;

    // Modal questions.
    virtual MessageAnswer ShowMessage(const Notice& notice, MessageButtons buttons) = 0;
    virtual std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) = 0;
    // The same chooser taking one file or several; empty when cancelled.
    virtual std::vector<std::string> ChooseOpenFiles(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> ChooseFolder(const std::string& title) = 0;
    // The context menu ("Delete", "About") at the cursor; its commands come back as handler calls.
    virtual void ShowContextMenu(bool deleteEnabled) = 0;
    virtual void ShowAbout() = 0;
    // The help pages; the window knows where they are installed.
    virtual void OpenHelp() = 0;

    // Runs a download and returns its outcome. Meanwhile the progress window ("Download Progress",
    // "Now Download:" + `name`) follows `progress`; cancelling it calls progress.RequestCancel().
    // The window may run the transfer on another thread, but returns only when it has ended.
    virtual DownloadResult RunTransfer(const Transfer& transfer, DownloadProgress& progress,
                                       const std::string& name) = 0;
    // The batch the following transfers belong to ("song n of N", bytes of the whole batch).
    virtual void SetTransferBatch(const TransferBatch& batch) = 0;

    // Printing. Both return when the job has ended; `renderPage` renders one page (its number and
    // draw rectangle in the info) onto the device context the view hands over.
    // The system print dialog for pages 1..highestPage, then the chosen pages on portrait paper.
    // A cancelled dialog prints nothing and shows nothing.
    virtual void RunPrintJob(int highestPage, const print::PageRenderer& renderPage) = 0;
    // The preview window ("Dudir Udade Preview") showing pages 1..highestPage.
    virtual PreviewEnd RunPrintPreview(int highestPage, const print::PageRenderer& renderPage) = 0;
    // Runs a wait on the network (a probe, a size check, the catalogue download; `what` says which)
    // and returns when it has ended. The window runs it on another thread, painting meanwhile
    // and holding user input back, so a stalled server never freezes it.
    virtual void RunWork(const std::function<void()>& work, const std::string& what) = 0;
};

}  // namespace songloader
