// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/app/dialog_view.h"

namespace songloader::test {

// One page a print job or preview rendered, with what the rendering answered.
struct RenderedPage {
    int number = 0;
    bool continuePrinting = true;
    int previewPages = 0;
    std::vector<std::string> texts;  // drawn on the page, in order
};

struct FakeRow {
    RowTexts texts;
    bool checked = false;
    bool selected = false;
    bool onDevice = false;  // marked as a song already on the device
};

// A DialogView for tests: records every call in order, keeps the state a window would show, and
// answers the modal questions from a script. Running out of scripted answers fails the test.
class FakeView final : public DialogView {
public:
    // ---- script ----
    std::deque<MessageAnswer> answers;  // Yes/No questions, in order; OK boxes need none
    std::deque<std::optional<std::string>> openFiles;
    // Answers of the several-files chooser; when none are scripted, it answers from openFiles.
    std::deque<std::vector<std::string>> openFileLists;
    std::deque<std::optional<std::string>> saveFiles;
    std::deque<std::optional<std::string>> folders;
    std::function<void()> onPump;                       // runs inside PumpMessage
    std::function<void()> onWork;                       // runs inside RunWork, as a window's timers do
    std::function<void(const Notice&)> onMessage;       // runs when a message box is shown
    std::function<void(DownloadProgress&)> onTransfer;  // runs as a transfer starts (to cancel it, say)
    bool cancelPrintDialog = false;                     // the print dialog's answer
    PreviewEnd previewEnd = PreviewEnd::Closed;         // how the user leaves a preview
    std::function<void()> onCommandStarted;             // runs as a command starts
    std::function<bool()> stopRequested;                // the user's stop of a batch (none: never)

    // ---- what happened ----
    std::vector<std::string> calls;  // "Enable Revise 0", "Message Note|Added successfully", ...
    std::vector<Notice> messages;
    std::vector<std::string> folderTitles;
    std::vector<FileDialogOptions> fileDialogs;
    int helps = 0;
    std::vector<std::string> transfers;  // "name steps" of each transfer, in order
    std::vector<TransferBatch> transferBatches;
    // Pages of every print job and preview, in order; a cancelled job has none.
    std::vector<std::vector<RenderedPage>> printJobs;
    std::vector<std::vector<RenderedPage>> previews;
    std::vector<std::string> works;  // what each RunWork waited for, in order
    std::atomic<int> waiting{0};     // inside RunWork or RunTransfer (read by server threads)
    int commandDepth = 0;            // CommandStarted minus CommandEnded
    int commands = 0;                // commands started
    int repaints = 0;
    int pumps = 0;
    bool stopOffered = false;
    int stopOffers = 0;
    int abouts = 0;
    int contextMenus = 0;
    bool lastMenuDeleteEnabled = false;
    bool timerRunning = false;
    int timerPeriod = 0;
    bool closed = false;

    // ---- state ----
    std::map<ControlId, std::string> texts;
    std::map<ControlId, bool> enabled;  // a control never touched counts as enabled
    std::map<ControlId, int> combos;
    std::map<ControlId, std::vector<FakeRow>> rows;
    std::map<ControlId, bool> checkBoxes;
    std::map<ControlId, std::optional<std::vector<int>>> shownRows;  // none: every row
    std::map<ControlId, bool> redraw;
    ControlId focus = ControlId::None;
    int progressLower = 0, progressUpper = 100, progressPos = 0;

    bool IsEnabled(ControlId control) const;
    std::string Text(ControlId control) const;
    // "caption|text" of every message box shown, in order.
    std::vector<std::string> MessageLog() const;
    // Column texts of a list view, row by row, joined by '|'.
    std::vector<std::string> Rows(ControlId list) const;
    std::vector<bool> Checks(ControlId list) const;
    // What a user does: type into a box, pick a combo item, tick a row (no notifications).
    void Type(ControlId control, const std::string& text) { texts[control] = text; }
    void Pick(ControlId combo, int index) { combos[combo] = index; }
    void Tick(ControlId list, int row, bool checked = true);

    // ---- DialogView ----
    void Enable(ControlId control, bool on) override;
    void SetText(ControlId control, const std::string& text) override;
    std::string GetText(ControlId control) override;
    void SetFocus(ControlId control) override;
    int ComboSelection(ControlId combo) override;
    void SetComboSelection(ControlId combo, int index) override;
    void DeleteAllRows(ControlId list) override;
    void InsertRow(ControlId list, int row, const RowTexts& rowTexts) override;
    void SetRowTexts(ControlId list, int row, const RowTexts& rowTexts) override;
    void DeleteRow(ControlId list, int row) override;
    void SetRowChecked(ControlId list, int row, bool checked) override;
    bool IsRowChecked(ControlId list, int row) override;
    void SetAllRows(ControlId list, std::vector<RowTexts> rowTexts) override;
    void MarkRows(ControlId list, const std::vector<int>& marked) override;
    void ShowOnlyRows(ControlId list, const std::optional<std::vector<int>>& shown) override;
    std::vector<int> SelectedRows(ControlId list) override;
    void ShowCheckBoxes(ControlId list, bool shown) override;
    void SetRedraw(ControlId list, bool on) override;
    void SetProgressRange(int lower, int upper) override;
    void SetProgressPos(int position) override;
    void CommandStarted() override;
    void CommandEnded() override;
    void Repaint() override;
    void PumpMessage() override;
    void OfferStop(bool offered) override;
    bool StopRequested() override;
    void StartTimer(int id, int milliseconds) override;
    void StopTimer(int id) override;
    void CloseWindow() override;
    MessageAnswer ShowMessage(const Notice& notice, MessageButtons buttons) override;
    std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
    std::vector<std::string> ChooseOpenFiles(const FileDialogOptions& options) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
    std::optional<std::string> ChooseFolder(const std::string& title) override;
    void ShowContextMenu(bool deleteEnabled) override;
    void ShowAbout() override;
    void OpenHelp() override;
    // Runs the transfer inline, on the calling thread.
    DownloadResult RunTransfer(const Transfer& transfer, DownloadProgress& progress, const std::string& name) override;
    void SetTransferBatch(const TransferBatch& batch) override;
    // Both render pages 1..highestPage on an A4 sheet at 600 dpi until a page clears the continue
    // flag, as the platform's print loop does (the preview as if the user paged through it all).
    void RunPrintJob(int highestPage, const print::PageRenderer& renderPage) override;
    PreviewEnd RunPrintPreview(int highestPage, const print::PageRenderer& renderPage) override;
    // Runs the work inline, on the calling thread.
    void RunWork(const std::function<void()>& work, const std::string& what) override;

private:
    void Record(const std::string& call) { calls.push_back(call); }
    FakeRow* RowAt(ControlId list, int row, const char* what);
};

}  // namespace songloader::test
