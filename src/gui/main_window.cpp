#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <exception>
#include <thread>

#include "core/app/dialog_texts.h"
#include "core/catalogue/language_table.h"
#include "gui/artwork.h"
#include "gui/help_location.h"
#include "gui/window_texts.h"
#include "gui/windows/print_job.h"
#include "gui/windows/print_preview_window.h"

namespace songloader::gui {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

// The image buttons: their control, image and caption (the caption is also the accessible name).
struct ButtonSpec {
    ControlId id;
    int pngId;
    const char* caption;
};
constexpr ButtonSpec kButtons[] = {
    {ControlId::AddToDevice, 193, "Add to USB Drive"}, {ControlId::AutoCheckDevice, 194, "Auto-Check USB Drive"},
    {ControlId::AutoGenerate, 195, "Auto-Generate"},   {ControlId::Browse, 196, "Browse "},
    {ControlId::ClearFields, 198, "Clear Fields"},     {ControlId::CloudMidi, 199, "Cloud Midi "},
    {ControlId::CloudSongs, 200, "Cloud Songs"},       {ControlId::ExportSongList, 201, "Export Song List"},
    {ControlId::PrintPreview, 202, "Print Preview"},   {ControlId::Print, 203, "Print"},
    {ControlId::QueueToAdd, 204, "Queue to Add"},      {ControlId::Revise, 205, "Revise"},
    {ControlId::SelectAll, 206, "Select All"},         {ControlId::SelectDevice, 207, "Select USB Drive"},
};

// "Label|patterns|Label|patterns||" -> "Label (patterns);;Label (patterns)".
QString QtFilter(const std::string& filter) {
    QStringList parts = Q(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        QString label = parts[i];
        const int paren = label.indexOf('(');
        if (paren > 0) label = label.left(paren).trimmed();
        entries << label + " (" + patterns + ")";
    }
    return entries.join(";;");
}

QMessageBox::Icon QtIcon(NoticeIcon icon) {
    switch (icon) {
        case NoticeIcon::Exclamation: return QMessageBox::Warning;
        case NoticeIcon::Information: return QMessageBox::Information;
        case NoticeIcon::Question: return QMessageBox::Question;
        case NoticeIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// An arrow instead of the wait cursor while the user answers a question.
class ArrowCursor {
public:
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

constexpr int kCheckBoxWidth = 22;  // the check box's hit band at the left of a row

}  // namespace

MainWindow::MainWindow(const DriveSystem& drives, const CloudClient& cloud, DialogSettings settings, bool thai,
                       QWidget* parent)
    : QWidget(parent),
      m_layout(thai ? ScaledLayout(MainWindowLayout(), 13, 16) : MainWindowLayout()),
      m_dialog(*this, drives, cloud, std::move(settings)) {
    setObjectName("MainWindow");
    setWindowTitle(Q(ForLinux(kWindowTitle)));
    setFixedSize(m_layout.width, m_layout.height);
    setWindowIcon(ApplicationIcon());
    m_background = BackgroundImage();
    m_timer = new QTimer(this);
    BuildControls();
    WireSignals();
    m_dialog.OnInitDialog();
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::control(ControlId id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void MainWindow::BuildControls() {
    auto add = [&](ControlId id, QWidget* widget) {
        widget->setObjectName(Q(ControlName(id)));
        const LayoutRect r = PlaceOf(m_layout, id);
        widget->setGeometry(r.x, r.y, r.width, r.height);
        m_controls[id] = widget;
    };
    // Created in the layout's order, which is the tab order.
    for (const ControlPlace& place : m_layout.controls) {
        const ControlId id = place.id;
        QWidget* widget = nullptr;
        for (const ButtonSpec& spec : kButtons) {
            if (spec.id != id) continue;
            auto* button = new QPushButton(spec.caption, this);
            button->setAccessibleName(spec.caption);
            button->setToolTip(spec.caption);
            widget = button;
        }
        if (widget) {
            add(id, widget);
            continue;
        }
        switch (id) {
            case ControlId::SongFolderText: {
                auto* label = new QLabel(this);
                label->setTextInteractionFlags(Qt::TextSelectableByMouse);
                add(id, label);
                break;
            }
            case ControlId::EntryLanguage:
            case ControlId::SearchLanguage: {
                auto* combo = new QComboBox(this);
                for (const std::string& item :
                     id == ControlId::EntryLanguage ? kEntryLanguageItems : kSearchLanguageItems) {
                    combo->addItem(Q(item));
                }
                combo->setCurrentIndex(-1);
                add(id, combo);
                break;
            }
            case ControlId::WorkList:
            case ControlId::DeviceList: {
                auto* model = new QStandardItemModel(0, static_cast<int>(kListColumns.size()), this);
                for (int c = 0; c < static_cast<int>(kListColumns.size()); ++c) {
                    model->setHeaderData(c, Qt::Horizontal, QString(kListColumns[c].title).trimmed());
                }
                auto* view = new QTableView(this);
                view->setModel(model);
                view->setSelectionBehavior(QAbstractItemView::SelectRows);
                view->setSelectionMode(QAbstractItemView::SingleSelection);
                view->setEditTriggers(QAbstractItemView::NoEditTriggers);
                view->setContextMenuPolicy(Qt::CustomContextMenu);
                view->verticalHeader()->hide();
                view->verticalHeader()->setDefaultSectionSize(23);
                view->horizontalHeader()->setStretchLastSection(true);
                for (int c = 0; c < static_cast<int>(kListColumns.size()); ++c) {
                    view->setColumnWidth(c, kListColumns[c].width + (c >= 4 ? 40 : 0));
                }
                view->viewport()->installEventFilter(this);
                view->installEventFilter(this);
                (id == ControlId::WorkList ? m_workModel : m_deviceModel) = model;
                add(id, view);
                break;
            }
            case ControlId::Progress: {
                m_progress = new QProgressBar(this);
                add(id, m_progress);
                break;
            }
            default: {
                auto* edit = new QLineEdit(this);
                if (id == ControlId::Number) {
                    edit->setMaxLength(6);
                    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
                }
                edit->installEventFilter(this);
                add(id, edit);
                break;
            }
        }
    }
    // The placeholder's grey.
    QPalette palette = control(ControlId::SearchBox)->palette();
    palette.setColor(QPalette::Text, QColor(kPlaceholderColour[0], kPlaceholderColour[1], kPlaceholderColour[2]));
    control(ControlId::SearchBox)->setPalette(palette);
}

void MainWindow::WireSignals() {
    auto clicked = [&](ControlId id, void (CSonquillDlg::*handler)()) {
        connect(static_cast<QPushButton*>(control(id)), &QPushButton::clicked, this,
                [this, handler] { (m_dialog.*handler)(); });
    };
    auto* search = static_cast<QLineEdit*>(control(ControlId::SearchBox));
    auto* number = static_cast<QLineEdit*>(control(ControlId::Number));
    clicked(ControlId::AutoCheckDevice, &CSonquillDlg::OnAutoCheckDevice);
    clicked(ControlId::SelectDevice, &CSonquillDlg::OnSelectDevice);
    clicked(ControlId::CloudSongs, &CSonquillDlg::OnCloudSongs);
    clicked(ControlId::CloudMidi, &CSonquillDlg::OnCloudMidi);
    connect(search, &QLineEdit::textEdited, this, [this] { m_dialog.OnSearchChange(); });
    // Search box focus: eventFilter.
    connect(static_cast<QComboBox*>(control(ControlId::SearchLanguage)), &QComboBox::currentIndexChanged, this,
            [this] { m_dialog.OnSearchLanguageChange(); });
    // Number box focus: eventFilter.
    connect(number, &QLineEdit::textEdited, this, [this] { m_dialog.OnNumberUpdate(); });
    clicked(ControlId::AutoGenerate, &CSonquillDlg::OnAutoGenerate);
    clicked(ControlId::Browse, &CSonquillDlg::OnBrowse);
    clicked(ControlId::QueueToAdd, &CSonquillDlg::OnQueueToAdd);
    clicked(ControlId::ClearFields, &CSonquillDlg::OnClearFields);
    clicked(ControlId::Revise, &CSonquillDlg::OnRevise);
    clicked(ControlId::AddToDevice, &CSonquillDlg::OnAddToDevice);
    for (ControlId list : {ControlId::WorkList, ControlId::DeviceList}) {
        QTableView* view = ViewOf(list);
        connect(view, &QTableView::doubleClicked, this, [this, list](const QModelIndex& index) {
            if (list == ControlId::WorkList) {
                m_dialog.OnWorkListDoubleClick(index.row());
            } else {
                m_dialog.OnDeviceListDoubleClick(index.row());
            }
        });
        // Work list clicks: eventFilter (the check box is asked before it changes).
        connect(view, &QTableView::customContextMenuRequested, this,
                [this, list](const QPoint& pos) { m_dialog.OnListRightClick(list, RowAt(list, pos)); });
    }
    clicked(ControlId::SelectAll, &CSonquillDlg::OnSelectAll);
    // Context menu "Delete" and "About": ShowContextMenu.
    clicked(ControlId::Print, &CSonquillDlg::OnPrint);
    clicked(ControlId::PrintPreview, &CSonquillDlg::OnPrintPreview);
    clicked(ControlId::ExportSongList, &CSonquillDlg::OnExportSongList);
    connect(m_timer, &QTimer::timeout, this, [this] { m_dialog.OnTimer(); });
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { m_dialog.OnSysCommand(SysCommand::ContextHelp); });
}

// ---- events ----

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_background);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    // Only the dialog closes the window (after its pending-copies question).
    event->ignore();
    m_dialog.OnSysCommand(SysCommand::Close);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape: m_dialog.OnCancel(); return;
        case Qt::Key_Return:
        case Qt::Key_Enter: m_dialog.OnOk(); return;
        default: QWidget::keyPressEvent(event);
    }
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) { ShowWindowMenu(event->globalPos()); }

void MainWindow::ShowWindowMenu(const QPoint& globalPos) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction("MIN", this, [this] {
        if (!m_dialog.OnSysCommand(SysCommand::Other)) showMinimized();
    });
    menu->addSeparator();
    menu->addAction("HELP", this, [this] { m_dialog.OnSysCommand(SysCommand::ContextHelp); });
    menu->addSeparator();
    menu->addAction(Q(ForLinux(kAboutMenuText)), this, [this] { m_dialog.OnSysCommand(SysCommand::About); });
    menu->popup(globalPos);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        const bool in = type == QEvent::FocusIn;
        if (watched == control(ControlId::SearchBox)) {
            in ? m_dialog.OnSearchSetFocus() : m_dialog.OnSearchKillFocus();
        } else if (watched == control(ControlId::Number)) {
            in ? m_dialog.OnNumberSetFocus() : m_dialog.OnNumberKillFocus();
        }
        return false;
    }
    QTableView* work = ViewOf(ControlId::WorkList);
    if (type == QEvent::MouseButtonPress && watched == work->viewport()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return false;
        const int row = RowAt(ControlId::WorkList, mouse->position().toPoint());
        const bool onCheckBox = m_checkBoxes[ControlId::WorkList] && row >= 0 &&
                                mouse->position().x() < kCheckBoxWidth;
        if (!onCheckBox) {
            m_dialog.OnWorkListClick(row, false);
            return false;
        }
        if (!m_dialog.OnWorkListClick(row, true)) SetRowChecked(ControlId::WorkList, row, !IsRowChecked(ControlId::WorkList, row));
        work->selectRow(row);
        return true;
    }
    if (type == QEvent::KeyPress && watched == work) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int row = work->currentIndex().row();
        if (key->key() != Qt::Key_Space || !m_checkBoxes[ControlId::WorkList] || row < 0) return false;
        if (!m_dialog.OnWorkListClick(row, true)) SetRowChecked(ControlId::WorkList, row, !IsRowChecked(ControlId::WorkList, row));
        return true;
    }
    return false;
}

// ---- controls ----

void MainWindow::Enable(ControlId id, bool enabled) {
    if (QWidget* widget = control(id)) widget->setEnabled(enabled);
}

void MainWindow::SetText(ControlId id, const std::string& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control(id))) {
        const QSignalBlocker block(edit);
        edit->setText(Q(text));
        if (id == ControlId::SearchBox) {
            // Grey while it shows the placeholder, black otherwise.
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Text, text == kSearchPlaceholder
                                                 ? QColor(kPlaceholderColour[0], kPlaceholderColour[1],
                                                          kPlaceholderColour[2])
                                                 : QColor(Qt::black));
            edit->setPalette(palette);
        }
    } else if (auto* label = qobject_cast<QLabel*>(control(id))) {
        label->setText(Q(text));
    }
}

std::string MainWindow::GetText(ControlId id) {
    if (auto* edit = qobject_cast<QLineEdit*>(control(id))) return edit->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(control(id))) return label->text().toStdString();
    return {};
}

void MainWindow::SetFocus(ControlId id) {
    if (QWidget* widget = control(id)) widget->setFocus();
}

int MainWindow::ComboSelection(ControlId id) {
    auto* combo = qobject_cast<QComboBox*>(control(id));
    return combo ? combo->currentIndex() : -1;
}

void MainWindow::SetComboSelection(ControlId id, int index) {
    if (auto* combo = qobject_cast<QComboBox*>(control(id))) {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(index);
    }
}

// ---- lists ----

QStandardItemModel* MainWindow::ModelOf(ControlId list) const {
    return list == ControlId::DeviceList ? m_deviceModel : m_workModel;
}

QTableView* MainWindow::ViewOf(ControlId list) const { return static_cast<QTableView*>(control(list)); }

int MainWindow::RowAt(ControlId list, const QPoint& viewportPos) const {
    return ViewOf(list)->indexAt(viewportPos).row();
}

void MainWindow::DeleteAllRows(ControlId list) { ModelOf(list)->removeRows(0, ModelOf(list)->rowCount()); }

void MainWindow::InsertRow(ControlId list, int row, const RowTexts& texts) {
    QList<QStandardItem*> items;
    for (const std::string& text : texts) {
        auto* item = new QStandardItem(Q(text));
        item->setTextAlignment(list == ControlId::DeviceList ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        items << item;
    }
    if (m_checkBoxes[list]) items[0]->setCheckState(Qt::Unchecked);
    ModelOf(list)->insertRow(row, items);
}

void MainWindow::SetRowTexts(ControlId list, int row, const RowTexts& texts) {
    for (int c = 0; c < static_cast<int>(texts.size()); ++c) {
        ModelOf(list)->setData(ModelOf(list)->index(row, c), Q(texts[static_cast<std::size_t>(c)]));
    }
}

void MainWindow::DeleteRow(ControlId list, int row) { ModelOf(list)->removeRow(row); }

void MainWindow::SetRowChecked(ControlId list, int row, bool checked) {
    if (QStandardItem* item = ModelOf(list)->item(row, 0)) item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool MainWindow::IsRowChecked(ControlId list, int row) {
    const QStandardItem* item = ModelOf(list)->item(row, 0);
    return item && item->checkState() == Qt::Checked;
}

void MainWindow::SelectAndFocusRow(ControlId list, int row) {
    ViewOf(list)->selectRow(row);
    ViewOf(list)->setCurrentIndex(ModelOf(list)->index(row, 0));
}

void MainWindow::ShowCheckBoxes(ControlId list, bool shown) {
    m_checkBoxes[list] = shown;
    QStandardItemModel* model = ModelOf(list);
    for (int r = 0; r < model->rowCount(); ++r) {
        QStandardItem* item = model->item(r, 0);
        if (shown) {
            item->setCheckState(Qt::Unchecked);
        } else {
            item->setData(QVariant(), Qt::CheckStateRole);
        }
    }
}

void MainWindow::SetRedraw(ControlId list, bool redraw) { ViewOf(list)->setUpdatesEnabled(redraw); }

void MainWindow::SetProgressRange(int lower, int upper) { m_progress->setRange(lower, upper); }

void MainWindow::SetProgressPos(int position) { m_progress->setValue(position); }

// ---- window ----

void MainWindow::CommandStarted() {
    ++m_commandCount;
    if (m_commandDepth++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void MainWindow::CommandEnded() {
    if (--m_commandDepth == 0) QApplication::restoreOverrideCursor();
}

void MainWindow::Repaint() { update(); }

void MainWindow::PumpMessage() {
    // Once per frame is enough to keep painting; pumping for each of 65,535 rows would cost more
    // than the rows themselves.
    static QElapsedTimer sincePump;
    if (sincePump.isValid() && sincePump.elapsed() < 15) return;
    sincePump.start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::StartTimer(int, int milliseconds) { m_timer->start(milliseconds); }

void MainWindow::StopTimer(int) { m_timer->stop(); }

void MainWindow::CloseWindow() {
    m_closing = true;
    m_timer->stop();
    close();
}

MessageAnswer MainWindow::ShowMessage(const Notice& notice, MessageButtons buttons) {
    const ArrowCursor arrow;
    QMessageBox box(QtIcon(notice.icon), Q(notice.caption), Q(notice.text),
                    buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, this);
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<std::string> MainWindow::ChooseOpenFile(const FileDialogOptions& options) {
    const ArrowCursor arrow;
    QFileDialog dialog(this, QString(), QString(), QtFilter(options.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(options.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> MainWindow::ChooseSaveFile(const FileDialogOptions& options) {
    const ArrowCursor arrow;
    QFileDialog dialog(this, QString(), QString(), QtFilter(options.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(Q(options.defaultExtension));
    if (!options.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> MainWindow::ChooseFolder(const std::string& title) {
    const ArrowCursor arrow;
    const QString folder = QFileDialog::getExistingDirectory(this, Q(title));
    if (folder.isEmpty()) return std::nullopt;
    return folder.toStdString();
}

void MainWindow::ShowContextMenu(bool deleteEnabled) {
    // Shown without waiting: its commands must reach the dialog after this command has ended.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* remove = menu->addAction("Delete", this, [this] { m_dialog.OnDeleteSong(); });
    remove->setEnabled(deleteEnabled);
    menu->addAction("About", this, [this] { m_dialog.OnAbout(); });
    menu->popup(QCursor::pos());
}

void MainWindow::ShowAbout() {
    const ArrowCursor arrow;
    QMessageBox box(QMessageBox::Information, Q(ForLinux(kAboutTitle)), Q(ForLinux(kAboutText)), QMessageBox::Ok, this);
    box.setIconPixmap(windowIcon().pixmap(48, 48));
    box.exec();
}

void MainWindow::OpenHelpFile(const std::filesystem::path&) {
    // The program's own help pages replace the old help file of the start folder.
    const std::filesystem::path index = HelpIndexFile();
    if (index.empty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(Q(index.string())))) {
        const ArrowCursor arrow;
        QMessageBox::warning(this, windowTitle(),
                             "The help pages were not found beside the program (help/index.html) "
                             "or in share/songloader/help/.");
    }
}

// ---- work on other threads ----

void MainWindow::RunOnWorker(const std::function<void()>& work, const std::function<void()>& onAbandon) {
    QEventLoop loop;
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    ++m_workers;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // The loop also ends when the application quits: the work is then told to stop, and
    // nothing it uses is destroyed before it has.
    if (!done && onAbandon) onAbandon();
    worker.join();
    --m_workers;
    if (failure) std::rethrow_exception(failure);
}

void MainWindow::RunWork(const std::function<void()>& work, const std::string&) { RunOnWorker(work, {}); }

void MainWindow::RunPrintJob(int highestPage, const print::PageRenderer& renderPage) {
    gui::RunPrintJob(this, highestPage, renderPage);
}

PreviewEnd MainWindow::RunPrintPreview(int highestPage, const print::PageRenderer& renderPage) {
    return gui::RunPrintPreview(this, highestPage, renderPage);
}

DownloadOutcome MainWindow::RunTransfer(const Transfer& transfer, DownloadProgress& progress, const std::string&) {
    DownloadOutcome outcome;
    RunOnWorker([&] { outcome = transfer(); }, [&] { progress.RequestCancel(); });
    return outcome;
}

}  // namespace songloader::gui
