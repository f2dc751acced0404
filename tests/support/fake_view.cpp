// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fake_view.h"

#include <gtest/gtest.h>

#include "support/recording_device_context.h"

namespace songloader::test {

namespace {

std::string Id(ControlId control) { return ControlName(control); }

std::string Joined(const RowTexts& texts) {
    std::string line;
    for (std::size_t i = 0; i < texts.size(); ++i) line += (i ? "|" : "") + texts[i];
    return line;
}

template <typename T>
T Next(std::deque<T>& queue, const char* what, T fallback) {
    if (queue.empty()) {
        ADD_FAILURE() << "the test gave no answer for " << what;
        return fallback;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

// An A4 sheet at 600 dpi, in pixels.
constexpr print::Rect kA4At600Dpi{0, 0, 4961, 7016};

std::vector<RenderedPage> RenderPages(int highestPage, const print::PageRenderer& renderPage) {
    std::vector<RenderedPage> pages;
    for (int number = 1; number <= highestPage; ++number) {
        testing::RecordingDeviceContext dc;
        print::PrintInfo info;
        info.drawRect = kA4At600Dpi;
        info.currentPage = number;
        info.maxPage = highestPage;
        renderPage(dc, info);
        pages.push_back({number, info.continuePrinting, info.previewPages, dc.DrawnTexts()});
        if (!info.continuePrinting) break;
    }
    return pages;
}

}  // namespace

bool FakeView::IsEnabled(ControlId control) const {
    auto it = enabled.find(control);
    return it == enabled.end() || it->second;
}

std::string FakeView::Text(ControlId control) const {
    auto it = texts.find(control);
    return it == texts.end() ? std::string() : it->second;
}

std::vector<std::string> FakeView::MessageLog() const {
    std::vector<std::string> log;
    for (const Notice& notice : messages) log.push_back(notice.caption + "|" + notice.text);
    return log;
}

std::vector<std::string> FakeView::Rows(ControlId list) const {
    std::vector<std::string> lines;
    auto it = rows.find(list);
    if (it != rows.end()) {
        for (const FakeRow& row : it->second) lines.push_back(Joined(row.texts));
    }
    return lines;
}

std::vector<bool> FakeView::Checks(ControlId list) const {
    std::vector<bool> checks;
    auto it = rows.find(list);
    if (it != rows.end()) {
        for (const FakeRow& row : it->second) checks.push_back(row.checked);
    }
    return checks;
}

void FakeView::Tick(ControlId list, int row, bool checked) {
    if (FakeRow* found = RowAt(list, row, "Tick")) found->checked = checked;
}

FakeRow* FakeView::RowAt(ControlId list, int row, const char* what) {
    auto& listRows = rows[list];
    if (row < 0 || row >= static_cast<int>(listRows.size())) {
        ADD_FAILURE() << what << ": no row " << row << " in list " << Id(list);
        return nullptr;
    }
    return &listRows[static_cast<std::size_t>(row)];
}

void FakeView::Enable(ControlId control, bool on) {
    Record("Enable " + Id(control) + (on ? " 1" : " 0"));
    enabled[control] = on;
}

void FakeView::SetText(ControlId control, const std::string& text) {
    Record("SetText " + Id(control) + " " + text);
    texts[control] = text;
}

std::string FakeView::GetText(ControlId control) { return Text(control); }

void FakeView::SetFocus(ControlId control) {
    Record("SetFocus " + Id(control));
    focus = control;
}

int FakeView::ComboSelection(ControlId combo) {
    auto it = combos.find(combo);
    return it == combos.end() ? -1 : it->second;
}

void FakeView::SetComboSelection(ControlId combo, int index) {
    Record("SetComboSelection " + Id(combo) + " " + std::to_string(index));
    combos[combo] = index;
}

void FakeView::DeleteAllRows(ControlId list) {
    Record("DeleteAllRows " + Id(list));
    rows[list].clear();
}

void FakeView::InsertRow(ControlId list, int row, const RowTexts& rowTexts) {
    Record("InsertRow " + Id(list) + " " + std::to_string(row) + " " + Joined(rowTexts));
    auto& listRows = rows[list];
    if (row < 0 || row > static_cast<int>(listRows.size())) {
        ADD_FAILURE() << "InsertRow: position " << row << " past the end of list " << Id(list);
        return;
    }
    listRows.insert(listRows.begin() + row, FakeRow{rowTexts});
}

void FakeView::SetRowTexts(ControlId list, int row, const RowTexts& rowTexts) {
    Record("SetRowTexts " + Id(list) + " " + std::to_string(row) + " " + Joined(rowTexts));
    if (FakeRow* found = RowAt(list, row, "SetRowTexts")) found->texts = rowTexts;
}

void FakeView::DeleteRow(ControlId list, int row) {
    Record("DeleteRow " + Id(list) + " " + std::to_string(row));
    if (RowAt(list, row, "DeleteRow")) rows[list].erase(rows[list].begin() + row);
}

void FakeView::SetRowChecked(ControlId list, int row, bool checked) {
    Record("SetRowChecked " + Id(list) + " " + std::to_string(row) + (checked ? " 1" : " 0"));
    if (FakeRow* found = RowAt(list, row, "SetRowChecked")) found->checked = checked;
}

bool FakeView::IsRowChecked(ControlId list, int row) {
    const FakeRow* found = RowAt(list, row, "IsRowChecked");
    return found && found->checked;
}

void FakeView::SetAllRows(ControlId list, std::vector<RowTexts> rowTexts) {
    Record("SetAllRows " + Id(list) + " " + std::to_string(rowTexts.size()));
    std::vector<FakeRow>& shown = rows[list];
    shown.clear();
    for (RowTexts& texts : rowTexts) shown.push_back(FakeRow{std::move(texts)});
}

void FakeView::MarkRows(ControlId list, const std::vector<int>& marked) {
    Record("MarkRows " + Id(list) + " " + std::to_string(marked.size()));
    // One row is selected at a time, as in the window: the last one marked.
    for (FakeRow& row : rows[list]) row.selected = false;
    for (int row : marked) {
        if (FakeRow* found = RowAt(list, row, "MarkRows")) found->onDevice = true;
    }
    if (!marked.empty()) {
        if (FakeRow* found = RowAt(list, marked.back(), "MarkRows")) found->selected = true;
    }
}

void FakeView::ShowOnlyRows(ControlId list, const std::optional<std::vector<int>>& shown) {
    Record("ShowOnlyRows " + Id(list) + " " + (shown ? std::to_string(shown->size()) : std::string("all")));
    shownRows[list] = shown;
}

std::vector<int> FakeView::SelectedRows(ControlId list) {
    std::vector<int> selected;
    const std::vector<FakeRow>& shown = rows[list];
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].selected) selected.push_back(static_cast<int>(i));
    }
    return selected;
}

void FakeView::ShowCheckBoxes(ControlId list, bool shown) {
    Record("ShowCheckBoxes " + Id(list) + (shown ? " 1" : " 0"));
    checkBoxes[list] = shown;
}

void FakeView::SetRedraw(ControlId list, bool on) {
    Record("SetRedraw " + Id(list) + (on ? " 1" : " 0"));
    redraw[list] = on;
}

void FakeView::SetProgressRange(int lower, int upper) {
    Record("SetProgressRange " + std::to_string(lower) + " " + std::to_string(upper));
    progressLower = lower;
    progressUpper = upper;
    progressPos = lower;
}

void FakeView::SetProgressPos(int position) {
    Record("SetProgressPos " + std::to_string(position));
    progressPos = position;
}

void FakeView::CommandStarted() {
    if (commandDepth++ != 0) ADD_FAILURE() << "a command started inside another";
    ++commands;
    if (onCommandStarted) onCommandStarted();
}

void FakeView::CommandEnded() {
    if (--commandDepth != 0) ADD_FAILURE() << "a command ended that had not started";
}

void FakeView::Repaint() { ++repaints; }

void FakeView::PumpMessage() {
    ++pumps;
    if (onPump) onPump();
}

void FakeView::OfferStop(bool offered) {
    stopOffered = offered;
    if (offered) ++stopOffers;
}

bool FakeView::StopRequested() { return stopOffered && stopRequested && stopRequested(); }

void FakeView::StartTimer(int id, int milliseconds) {
    Record("StartTimer " + std::to_string(id) + " " + std::to_string(milliseconds));
    timerRunning = true;
    timerPeriod = milliseconds;
}

void FakeView::StopTimer(int id) {
    Record("StopTimer " + std::to_string(id));
    timerRunning = false;
}

void FakeView::CloseWindow() {
    Record("CloseWindow");
    closed = true;
}

MessageAnswer FakeView::ShowMessage(const Notice& notice, MessageButtons buttons) {
    Record("Message " + notice.caption + "|" + notice.text);
    messages.push_back(notice);
    if (onMessage) onMessage(notice);
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return Next(answers, ("the question \"" + notice.text + "\"").c_str(), MessageAnswer::No);
}

std::optional<std::string> FakeView::ChooseOpenFile(const FileDialogOptions& options) {
    Record("ChooseOpenFile");
    fileDialogs.push_back(options);
    return Next<std::optional<std::string>>(openFiles, "the open-file dialog", std::nullopt);
}

std::vector<std::string> FakeView::ChooseOpenFiles(const FileDialogOptions& options) {
    if (openFileLists.empty()) {
        auto file = ChooseOpenFile(options);
        return file ? std::vector<std::string>{*file} : std::vector<std::string>{};
    }
    Record("ChooseOpenFile");
    fileDialogs.push_back(options);
    auto files = std::move(openFileLists.front());
    openFileLists.pop_front();
    return files;
}

std::optional<std::string> FakeView::ChooseSaveFile(const FileDialogOptions& options) {
    Record("ChooseSaveFile");
    fileDialogs.push_back(options);
    return Next<std::optional<std::string>>(saveFiles, "the save-file dialog", std::nullopt);
}

std::optional<std::string> FakeView::ChooseFolder(const std::string& title) {
    Record("ChooseFolder " + title);
    folderTitles.push_back(title);
    return Next<std::optional<std::string>>(folders, "the folder picker", std::nullopt);
}

void FakeView::ShowContextMenu(bool deleteEnabled) {
    Record(std::string("ShowContextMenu ") + (deleteEnabled ? "1" : "0"));
    ++contextMenus;
    lastMenuDeleteEnabled = deleteEnabled;
}

void FakeView::ShowAbout() {
    Record("ShowAbout");
    ++abouts;
}

void FakeView::OpenHelp() {
    Record("OpenHelp");
    ++helps;
}

void FakeView::SetTransferBatch(const TransferBatch& batch) { transferBatches.push_back(batch); }

DownloadResult FakeView::RunTransfer(const Transfer& transfer, DownloadProgress& progress, const std::string& name) {
    const std::string shown = name + " " + std::to_string(progress.progressSteps.load());
    Record("RunTransfer " + shown);
    transfers.push_back(shown);
    if (!progress.downloadActive.load()) ADD_FAILURE() << "a transfer ran outside the download start protocol";
    if (onTransfer) onTransfer(progress);
    ++waiting;
    DownloadResult outcome = transfer();
    --waiting;
    return outcome;
}

void FakeView::RunWork(const std::function<void()>& work, const std::string& what) {
    Record("RunWork " + what);
    works.push_back(what);
    ++waiting;
    if (onWork) onWork();
    work();
    --waiting;
}

void FakeView::RunPrintJob(int highestPage, const print::PageRenderer& renderPage) {
    Record("RunPrintJob " + std::to_string(highestPage));
    printJobs.push_back(cancelPrintDialog ? std::vector<RenderedPage>{} : RenderPages(highestPage, renderPage));
}

PreviewEnd FakeView::RunPrintPreview(int highestPage, const print::PageRenderer& renderPage) {
    Record("RunPrintPreview " + std::to_string(highestPage));
    previews.push_back(RenderPages(highestPage, renderPage));
    return previewEnd;
}

}  // namespace songloader::test
