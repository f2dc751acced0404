// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QWidget>

#include <map>
#include <memory>

#include "core/app/dialog_view.h"
#include "core/app/sonquill_dlg.h"
#include "gui/window_layout.h"

class QTimer;

namespace songloader::gui {

class GradientProgressBar;
class ImageButton;
class SkinnedListView;

// The main window: a fixed-size window laid out from MainWindowLayout() that shows what
// CSonquillDlg tells it (DialogView) and hands every user event to it. It holds no logic of
// its own.
class MainWindow final : public QWidget, public DialogView {
    Q_OBJECT
public:
    // `thai` shrinks the layout to 13/16.
    MainWindow(const DriveSystem& drives, const CloudClient& cloud, DialogSettings settings, bool thai = false,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    CSonquillDlg& dialog() { return m_dialog; }
    // The widget of a control (objectName = ControlName(id)); nullptr when there is none.
    QWidget* control(ControlId id) const;
    // True once CloseWindow has run.
    bool closedByDialog() const { return m_closing; }
    // Commands of the dialog run so far (each CommandStarted).
    int commandCount() const { return m_commandCount; }

    // ---- DialogView ----
    void Enable(ControlId control, bool enabled) override;
    void SetText(ControlId control, const std::string& text) override;
    std::string GetText(ControlId control) override;
    void SetFocus(ControlId control) override;
    int ComboSelection(ControlId combo) override;
    void SetComboSelection(ControlId combo, int index) override;
    void DeleteAllRows(ControlId list) override;
    void InsertRow(ControlId list, int row, const RowTexts& texts) override;
    void SetRowTexts(ControlId list, int row, const RowTexts& texts) override;
    void DeleteRow(ControlId list, int row) override;
    void SetRowChecked(ControlId list, int row, bool checked) override;
    bool IsRowChecked(ControlId list, int row) override;
    void SelectAndFocusRow(ControlId list, int row) override;
    void ShowCheckBoxes(ControlId list, bool shown) override;
    void SetRedraw(ControlId list, bool redraw) override;
    void SetProgressRange(int lower, int upper) override;
    void SetProgressPos(int position) override;
    void CommandStarted() override;
    void CommandEnded() override;
    void Repaint() override;
    void PumpMessage() override;
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
    void OpenHelpFile(const std::filesystem::path& file) override;
    DownloadOutcome RunTransfer(const Transfer& transfer, DownloadProgress& progress,
                                const std::string& name) override;
    void RunWork(const std::function<void()>& work, const std::string& what) override;
    void RunPrintJob(int highestPage, const print::PageRenderer& renderPage) override;
    PreviewEnd RunPrintPreview(int highestPage, const print::PageRenderer& renderPage) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    // Every signal to its handler, in the order of the dialog's command table.
    void WireSignals();
    // Removed and new volumes reach the dialog as the mount table changes.
    void WatchMounts();
    ImageButton* AddButton(int pngId, const char* caption);
    SkinnedListView* AddList(ControlId id);
    void ShowWindowMenu(const QPoint& globalPos);
    // Runs `work` on a worker thread while this thread paints with user input held back.
    void RunOnWorker(const std::function<void()>& work);
    SkinnedListView* ListOf(ControlId list) const;

    WindowLayout m_layout;
    std::unique_ptr<MountWatcher> m_mountWatcher;
    QPixmap m_background;
    std::map<ControlId, QWidget*> m_controls;
    SkinnedListView* m_workList = nullptr;
    SkinnedListView* m_deviceList = nullptr;
    GradientProgressBar* m_progress = nullptr;
    ImageButton* m_unboundButton = nullptr;  // image 197: loaded, shown by no control
    QTimer* m_timer = nullptr;
    QPoint m_listMenuAt;  // where the list's context menu opens
    int m_commandDepth = 0;
    int m_commandCount = 0;
    bool m_closing = false;
    CSonquillDlg m_dialog;  // last: it is built on the view above
};

}  // namespace songloader::gui
