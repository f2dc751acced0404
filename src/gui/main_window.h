// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QStringList>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "core/app/dialog_view.h"
#include "core/app/sonquill_dlg.h"
#include "gui/window_layout.h"

class QAction;
class QScrollArea;
class QMenu;
class QTimer;

namespace songloader::gui {

class BatchStop;

class DesktopNotifier;
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
    // A copy or download batch that ran at least `after` and ended while the window was not the
    // active one is reported through `notifier` (the session bus's notification service unless set).
    void setBatchNotification(std::unique_ptr<DesktopNotifier> notifier, std::chrono::milliseconds after);
    // Fits the window into `available` (a screen's work area, in the window's pixels): a window
    // larger than that becomes resizable, at most its drawn size, and shows its drawn design in
    // a scroll area, so every control stays reachable. The drawn look is kept whenever it fits.
    void FitInto(const QRect& available);
    bool scrolled() const { return m_scroll != nullptr; }
    // The help's start page F1 and "HELP" open (HelpIndexFile() unless set).
    void setHelpFile(std::filesystem::path file) { m_helpFile = std::move(file); }
    // The light palette the window's own widgets use whatever the desktop's colours are.
    static QPalette LightPalette();

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
    void SetAllRows(ControlId list, std::vector<RowTexts> rows) override;
    void MarkRows(ControlId list, const std::vector<int>& rows) override;
    void ShowOnlyRows(ControlId list, const std::optional<std::vector<int>>& rows) override;
    std::vector<int> SelectedRows(ControlId list) override;
    void ShowCheckBoxes(ControlId list, bool shown) override;
    void SetRedraw(ControlId list, bool redraw) override;
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
    DownloadResult RunTransfer(const Transfer& transfer, DownloadProgress& progress, const std::string& name) override;
    void SetTransferBatch(const TransferBatch& batch) override;
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
    ImageButton* AddButton(int pngId);
    // Names for screen readers: the boxes by their captions, the combo boxes through labels that
    // are read but not drawn (the background carries the drawn ones).
    void NameControls();
    // Runs a copy or download batch and tells the desktop how it ended when that took long and
    // the user was elsewhere.
    void RunBatch(const std::function<void()>& batch);
    void ShowFolderText(const std::string& text);
    SkinnedListView* AddList(ControlId id);
    void ShowWindowMenu(const QPoint& globalPos);
    // A menu entry whose command runs once the menu has closed: a command that pumps events
    // would otherwise run inside the menu while the menu is deleted.
    QAction* AddMenuCommand(QMenu* menu, const QString& text, std::function<void()> command);
    // The keys of the window: Ctrl+Q, Ctrl+F, Ctrl+O and F1.
    void AddShortcuts();
    // What each button does, as its tooltip.
    void DescribeButtons();
    // Runs `work` on a worker thread while this thread paints with user input held back.
    void RunOnWorker(const std::function<void()>& work);
    SkinnedListView* ListOf(ControlId list) const;
    void ReleaseFreedMemory();

    WindowLayout m_layout;
    std::unique_ptr<MountWatcher> m_mountWatcher;
    QPixmap m_background;
    std::map<ControlId, QWidget*> m_controls;
    SkinnedListView* m_workList = nullptr;
    SkinnedListView* m_deviceList = nullptr;
    GradientProgressBar* m_progress = nullptr;
    BatchStop* m_batchStop = nullptr;               // the stop of a batch of copies, shown while offered
    QPixmap m_unboundImage;                         // image 197: loaded, shown by no control
    std::string m_folderText;                       // the drive line's whole text (the label may show it elided)
    std::map<ControlId, std::string> m_labelTexts;  // what the logic gave the other labels, in English
    std::unique_ptr<DesktopNotifier> m_notifier;
    std::chrono::milliseconds m_notifyAfter{10000};
    bool m_inBatch = false;
    QTimer* m_timer = nullptr;
    QTimer* m_searchDelay = nullptr;
    QTimer* m_releaseMemory =
        nullptr;          // a second after the last command  // the search of the latest text in the search box
    QPoint m_listMenuAt;  // where the list's context menu opens
    std::filesystem::path m_helpFile;
    QScrollArea* m_scroll = nullptr;               // holds the drawn design when the screen is smaller
    std::optional<TransferBatch> m_transferBatch;  // of the running download batch
    std::chrono::steady_clock::time_point m_batchStart;
    int m_commandDepth = 0;
    int m_commandCount = 0;
    bool m_closing = false;
    CSonquillDlg m_dialog;  // last: it is built on the view above
};

}  // namespace songloader::gui
