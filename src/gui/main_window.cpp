// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/main_window.h"

#include "gui/batch_stop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMessageBox>
#include <QPainter>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <exception>
#include <thread>
#include <utility>

#include "core/app/dialog_texts.h"
#include "core/catalogue/language_table.h"
#include "gui/artwork.h"
#include "gui/controls/gradient_progress_bar.h"
#include "gui/controls/image_button.h"
#include "gui/controls/list_font.h"
#include "gui/controls/skinned_header.h"
#include "gui/controls/skinned_list_view.h"
#include "gui/controls/song_row_delegate.h"
#include "gui/desktop_notifier.h"
#include "gui/help_location.h"
#include "gui/language/shown_text.h"
#include "gui/window_state.h"
#include "gui/window_texts.h"
#include "gui/windows/about_box.h"
#include "gui/windows/print_job.h"
#include "gui/windows/print_preview_window.h"
#include "gui/windows/progress_window.h"

namespace songloader::gui {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

// The image buttons: their control and image (whose caption is also the accessible name).
struct ImageButtonEntry {
    ControlId id;
    int pngId;
};
// Loaded like the others, shown by no control.
constexpr int kUnboundImage = 197;
constexpr ImageButtonEntry kButtons[] = {
    {ControlId::AddToDevice, 193}, {ControlId::AutoCheckDevice, 194}, {ControlId::AutoGenerate, 195},
    {ControlId::Browse, 196},      {ControlId::ClearFields, 198},     {ControlId::CloudMidi, 199},
    {ControlId::CloudSongs, 200},  {ControlId::ExportSongList, 201},  {ControlId::PrintPreview, 202},
    {ControlId::Print, 203},       {ControlId::QueueToAdd, 204},      {ControlId::Revise, 205},
    {ControlId::SelectAll, 206},   {ControlId::SelectDevice, 207},    {ControlId::EjectDevice, 208},
};

// "Label|patterns|Label|patterns||" -> "Label (patterns);;Label (patterns)", in the user's language.
QString QtFilter(const std::string& filter) {
    QStringList parts = ShownText(filter).split('|');
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

// The popup rows of a combo box at the height drawn for them.
class FixedHeightItemDelegate : public QStyledItemDelegate {
public:
    FixedHeightItemDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
    }

private:
    int height_;
};

// What screen readers call each box (the drawn captions are part of the background picture).
struct AccessibleEntry {
    ControlId id;
    const char* name;
};
constexpr AccessibleEntry kAccessibleNames[] = {
    {ControlId::Number, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Number")},
    {ControlId::Title, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Title")},
    {ControlId::Artist, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Artist")},
    {ControlId::Composer, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Composer")},
    {ControlId::Lyricist, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Lyricist")},
    {ControlId::MediaPath, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Media File")},
    {ControlId::SearchBox, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Search")},
    {ControlId::EntryLanguage, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Language")},
    {ControlId::SearchLanguage, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Search language")},
    {ControlId::WorkList, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Songs to add")},
    {ControlId::DeviceList, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Songs on the USB drive")},
    {ControlId::Progress, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Progress")},
    {ControlId::SearchHits, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "Songs found")},
    {ControlId::DeviceSummary, QT_TRANSLATE_NOOP("songloader::gui::MainWindow", "USB drive")},
};

// The listed column width, widened where it would cut what the column shows: its title, a
// six-digit number (after the check box in the work list) or a language code.
int ColumnWidth(int column, bool checkBoxes) {
    const QFontMetrics cells(ListFont(SkinnedListView::kFontPixelHeight));
    const QFontMetrics header(ListFont(SkinnedHeader::kFontPixelHeight));
    constexpr int kTextInsets = 2 * 3 + 2;
    int width = std::max(kListColumns[column].width,
                         header.horizontalAdvance(CoreText(kListColumns[column].title)) + kTextInsets);
    if (column == 0) {
        // The text starts 4 px after the box.
        const int box = checkBoxes ? SongRowDelegate::CheckBoxRect(QRect(0, 0, 100, 23)).right() + 1 + 4 : 2;
        width = std::max(width, box + cells.horizontalAdvance(QStringLiteral("999999")) + kTextInsets);
    } else if (column == 1) {
        for (const char* language : LanguageTable) {
            width = std::max(width, cells.horizontalAdvance(Q(language)) + kTextInsets);
        }
    }
    return width;
}

}  // namespace

MainWindow::MainWindow(const DriveSystem& drives, const CloudClient& cloud, DialogSettings settings, bool thai,
                       QWidget* parent)
    : QWidget(parent),
      m_layout(thai ? ScaledLayout(MainWindowLayout(), 13, 16) : MainWindowLayout()),
      m_mountWatcher(std::make_unique<MountWatcher>(settings.mountFiles.mountInfo, drives)),
      m_dialog(*this, drives, cloud, std::move(settings)) {
    setObjectName("MainWindow");
    setWindowTitle(Q(ForLinux(Filled(CoreText(kWindowTitle), {Q(ShortVersion())}).toStdString())));
    setFixedSize(m_layout.width, m_layout.height);
    setWindowIcon(ApplicationIcon());
    // The window paints its own light background, so its widgets keep light colours on any
    // desktop; dialogs and menus are windows of their own and follow the desktop.
    setPalette(LightPalette());
    setAcceptDrops(true);
    m_background = BackgroundImage();
    m_timer = new QTimer(this);
    m_notifier = std::make_unique<DesktopNotifier>();
    m_releaseMemory = new QTimer(this);
    m_releaseMemory->setSingleShot(true);
    m_releaseMemory->setInterval(1000);
    connect(m_releaseMemory, &QTimer::timeout, this, [this] { ReleaseFreedMemory(); });
    BuildControls();
    NameControls();
    WireSignals();
    if (const auto state = WindowState()) m_dialog.SetEvenLoudness(state->value(kEvenLoudnessKey, false).toBool());
    m_dialog.OnInitDialog();
}

MainWindow::~MainWindow() = default;

QPalette MainWindow::LightPalette() {
    QPalette palette(QColor(239, 239, 239));  // black text on white boxes and light grey buttons
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        // Light enough that the lists' dark text stays readable on a selected row.
        palette.setColor(group, QPalette::Highlight, QColor(160, 200, 240));
        palette.setColor(group, QPalette::HighlightedText, Qt::black);
        palette.setColor(group, QPalette::PlaceholderText, QColor(110, 110, 110));
        palette.setColor(group, QPalette::Link, QColor(0, 0, 238));
        palette.setColor(group, QPalette::ToolTipBase, QColor(255, 255, 220));
        palette.setColor(group, QPalette::ToolTipText, Qt::black);
    }
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, Qt::white);
    return palette;
}

void MainWindow::setBatchNotification(std::unique_ptr<DesktopNotifier> notifier, std::chrono::milliseconds after) {
    m_notifier = std::move(notifier);
    m_notifyAfter = after;
}

QWidget* MainWindow::control(ControlId id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

ImageButton* MainWindow::AddButton(int pngId) {
    auto* button = new ImageButton(ButtonImage(pngId), ButtonCaption(pngId), this);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

SkinnedListView* MainWindow::AddList(ControlId id) {
    auto* list = new SkinnedListView(this);
    // Left-aligned in the work list, centred in the device list.
    const bool work = id == ControlId::WorkList;
    const Qt::Alignment alignment = work ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;
    for (int c = 0; c < static_cast<int>(kListColumns.size()); ++c) {
        // Titles as drawn, leading blanks included.
        list->setColumn(c, CoreText(kListColumns[c].title), alignment, ColumnWidth(c, work));
    }
    (work ? m_workList : m_deviceList) = list;
    return list;
}

void MainWindow::BuildControls() {
    // Created in the layout's order, which is the tab order.
    for (const ControlPlace& place : m_layout.controls) {
        const ControlId id = place.id;
        QWidget* widget = nullptr;
        for (const ImageButtonEntry& button : kButtons) {
            if (button.id == id) widget = AddButton(button.pngId);
        }
        if (!widget) {
            switch (id) {
                case ControlId::SongFolderText: {
                    auto* label = new QLabel(this);
                    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
                    widget = label;
                    break;
                }
                case ControlId::SearchHits:
                case ControlId::DeviceSummary: {
                    auto* label = new QLabel(this);
                    label->setTextFormat(Qt::PlainText);
                    label->setAlignment((id == ControlId::SearchHits ? Qt::AlignRight : Qt::AlignLeft) |
                                        Qt::AlignVCenter);
                    // Screen readers hear the new count without moving there.
                    label->setAccessibleDescription(tr("Updated after each search or change"));
                    widget = label;
                    break;
                }
                case ControlId::EntryLanguage:
                case ControlId::SearchLanguage: {
                    auto* combo = new QComboBox(this);
                    for (const std::string& item :
                         id == ControlId::EntryLanguage ? kEntryLanguageItems : kSearchLanguageItems) {
                        combo->addItem(CoreText(item.c_str()));
                    }
                    combo->setItemDelegate(
                        new FixedHeightItemDelegate(id == ControlId::EntryLanguage ? 24 : 18, combo));
                    combo->setCurrentIndex(-1);
                    widget = combo;
                    break;
                }
                case ControlId::WorkList:
                case ControlId::DeviceList: widget = AddList(id); break;
                case ControlId::Progress: {
                    m_progress = new GradientProgressBar(this);
                    m_progress->setBackgroundColour(QColor(5, 5, 5));
                    m_progress->setShowPercent(true);
                    widget = m_progress;
                    break;
                }
                default: {
                    auto* edit = new QLineEdit(this);
                    if (id == ControlId::Number) {
                        edit->setMaxLength(6);
                        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
                    }
                    edit->installEventFilter(this);
                    widget = edit;
                    break;
                }
            }
        }
        widget->setObjectName(Q(ControlName(id)));
        widget->setGeometry(place.rect.x, place.rect.y, place.rect.width, place.rect.height);
        m_controls[id] = widget;
    }
    // Between Print and Export Song List, shown only while a batch of copies runs.
    const LayoutRect print = PlaceOf(m_layout, ControlId::Print);
    const LayoutRect exportList = PlaceOf(m_layout, ControlId::ExportSongList);
    const int stopX = print.x + print.width + 8;
    m_batchStop = new BatchStop(this, QRect(stopX, print.y, exportList.x - 8 - stopX, print.height));
    // Not a hidden widget: screen readers would meet a nameless button.
    m_unboundImage = ButtonImage(kUnboundImage);
    // The placeholder's grey.
    QPalette palette = control(ControlId::SearchBox)->palette();
    palette.setColor(QPalette::Text, QColor(kPlaceholderColour[0], kPlaceholderColour[1], kPlaceholderColour[2]));
    control(ControlId::SearchBox)->setPalette(palette);
}

void MainWindow::NameControls() {
    for (const AccessibleEntry& entry : kAccessibleNames) control(entry.id)->setAccessibleName(tr(entry.name));
    DescribeButtons();
    // On Linux Qt names a combo box by the item it shows; the reader's name comes from a label
    // whose buddy it is. The labels sit on the drawn captions and draw nothing themselves.
    for (ControlId id : {ControlId::EntryLanguage, ControlId::SearchLanguage}) {
        const LayoutRect at = [&] {
            for (const FieldLabel& label : m_layout.labels) {
                if (label.box == id) return label.rect;
            }
            return PlaceOf(m_layout, id);
        }();
        auto* label = new QLabel(control(id)->accessibleName(), this);
        label->setObjectName(Q(ControlName(id)) + "Label");
        QPalette ink = label->palette();
        ink.setColor(QPalette::WindowText, Qt::transparent);
        label->setPalette(ink);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setGeometry(at.x, at.y, at.width, at.height);
        label->setBuddy(control(id));
        label->lower();
    }
}

void MainWindow::RunBatch(const std::function<void()>& batch) {
    if (m_inBatch) {
        batch();
        return;
    }
    m_inBatch = true;
    QElapsedTimer clock;
    clock.start();
    batch();
    m_inBatch = false;
    if (!m_notifier || clock.elapsed() < m_notifyAfter.count() || isActiveWindow()) return;
    // What the batch did, as the window logic reports it.
    const BatchNotification notification = NotificationOf(m_dialog.lastBatch());
    m_notifier->Notify(ShownText(notification.summary), ShownText(notification.body));
}

void MainWindow::WireSignals() {
    auto clicked = [&](ControlId id, void (CSonquillDlg::*handler)()) {
        connect(static_cast<QAbstractButton*>(control(id)), &QAbstractButton::clicked, this,
                [this, handler] { (m_dialog.*handler)(); });
    };
    auto* search = static_cast<QLineEdit*>(control(ControlId::SearchBox));
    auto* number = static_cast<QLineEdit*>(control(ControlId::Number));
    clicked(ControlId::AutoCheckDevice, &CSonquillDlg::OnAutoCheckDevice);
    clicked(ControlId::SelectDevice, &CSonquillDlg::OnSelectDevice);
    clicked(ControlId::EjectDevice, &CSonquillDlg::OnEjectDevice);
    clicked(ControlId::CloudSongs, &CSonquillDlg::OnCloudSongs);
    connect(static_cast<QAbstractButton*>(control(ControlId::CloudMidi)), &QAbstractButton::clicked, this,
            [this] { RunBatch([this] { m_dialog.OnCloudMidi(); }); });
    // Keys that arrive while hits are being shown pile up behind it; the search runs once for the
    // last text instead of once for every key in between.
    m_searchDelay = new QTimer(this);
    m_searchDelay->setSingleShot(true);
    m_searchDelay->setInterval(0);
    connect(m_searchDelay, &QTimer::timeout, this, [this] { m_dialog.OnSearchChange(); });
    connect(search, &QLineEdit::textEdited, m_searchDelay, qOverload<>(&QTimer::start));
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
    connect(static_cast<QAbstractButton*>(control(ControlId::AddToDevice)), &QAbstractButton::clicked, this,
            [this] { RunBatch([this] { m_dialog.OnAddToDevice(); }); });
    connect(m_workList, &SkinnedListView::rowDoubleClicked, this,
            [this](int row) { m_dialog.OnWorkListDoubleClick(row); });
    // With check boxes shown every click on a row is a check-box click, asked through the guard
    // before the box changes; reporting it again here would show the handler's message twice.
    m_workList->setCheckGuard([this](int row) { return !m_dialog.OnWorkListClick(row, true); });
    connect(m_workList, &SkinnedListView::rowClicked, this, [this](int row, bool) {
        if (!m_workList->songModel()->checkBoxesShown()) m_dialog.OnWorkListClick(row, false);
    });
    for (SkinnedListView* list : {m_workList, m_deviceList}) {
        const ControlId id = list == m_workList ? ControlId::WorkList : ControlId::DeviceList;
        connect(list, &SkinnedListView::contextMenuRequested, this, [this, id](int row, QPoint globalPos) {
            m_listMenuAt = globalPos;
            m_dialog.OnListRightClick(id, row);
        });
    }
    connect(m_deviceList, &SkinnedListView::rowDoubleClicked, this,
            [this](int row) { m_dialog.OnDeviceListDoubleClick(row); });
    for (SkinnedListView* list : {m_workList, m_deviceList}) {
        const ControlId id = list == m_workList ? ControlId::WorkList : ControlId::DeviceList;
        connect(list, &SkinnedListView::deleteRequested, this, [this, id](int row) { m_dialog.OnDeleteKey(id, row); });
    }
    // The device list sorts by number, title or artist as its header is clicked; the work list
    // takes several queued songs at once for a common language or artist.
    m_deviceList->setSortableColumns({0, 2, 3});
    m_workList->setSeveralSelectable(true);
    connect(m_workList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { m_dialog.OnWorkListSelectionChange(); });
    clicked(ControlId::SelectAll, &CSonquillDlg::OnSelectAll);
    // Context menu "Delete" and "About": ShowContextMenu.
    clicked(ControlId::Print, &CSonquillDlg::OnPrint);
    clicked(ControlId::PrintPreview, &CSonquillDlg::OnPrintPreview);
    clicked(ControlId::ExportSongList, &CSonquillDlg::OnExportSongList);
    connect(m_timer, &QTimer::timeout, this, [this] { m_dialog.OnTimer(); });
    WatchMounts();
    AddShortcuts();
}

void MainWindow::AddShortcuts() {
    const auto add = [this](const QKeySequence& keys, std::function<void()> command) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, std::move(command));
    };
    add(QKeySequence::HelpContents, [this] { m_dialog.OnSysCommand(SysCommand::ContextHelp); });
    // Quitting asks the close box's questions.
    add(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
        if (QWidget* search = control(ControlId::SearchBox); search->isEnabled())
            search->setFocus(Qt::ShortcutFocusReason);
    });
    add(QKeySequence(Qt::CTRL | Qt::Key_O), [this] {
        if (control(ControlId::Browse)->isEnabled()) m_dialog.OnBrowse();
    });
}

void MainWindow::DescribeButtons() {
    const std::pair<ControlId, QString> tips[] = {
        {ControlId::AutoCheckDevice, tr("Find the USB drive by itself and show its songs")},
        {ControlId::SelectDevice, tr("Choose the USB drive (or a folder standing for one) yourself")},
        {ControlId::EjectDevice, tr("Make the USB drive safe to pull out")},
        {ControlId::AutoGenerate, tr("Fill in the next free song number")},
        {ControlId::Browse, tr("Pick a media file, or several to queue at once (Ctrl+O)")},
        {ControlId::QueueToAdd, tr("Put the song in the form on the list of songs to add")},
        {ControlId::ClearFields, tr("Empty the form")},
        {ControlId::Revise, tr("Store the form's changes in the song loaded, or set the language and artist of "
                               "the queued songs selected")},
        {ControlId::AddToDevice, tr("Copy the queued songs, or download the ticked cloud songs, onto the USB drive")},
        {ControlId::CloudSongs, tr("Download the cloud's song list and show it")},
        {ControlId::CloudMidi, tr("Bring the USB drive's MIDI pack up to date from the cloud")},
        {ControlId::SelectAll, tr("Tick or untick every cloud song shown")},
        {ControlId::PrintPreview, tr("See the USB drive's song list as it would print")},
        {ControlId::Print, tr("Print the USB drive's song list")},
        {ControlId::ExportSongList, tr("Save the USB drive's song list as a file")},
    };
    for (const auto& [id, tip] : tips) control(id)->setToolTip(tip);
    control(ControlId::SearchBox)
        ->setToolTip(tr("Find songs by the start of their title or artist (Ctrl+F; Escape clears)"));
}

void MainWindow::WatchMounts() {
    const auto changed = [this] {
        const std::vector<MountEvent> events = m_mountWatcher->Changes();
        if (!events.empty()) m_dialog.OnMountChanges(events);
    };
    if (m_mountWatcher->fileDescriptor() >= 0) {
        // The kernel marks the mount table with POLLPRI when it changes: Qt's exception notifier.
        auto* notifier = new QSocketNotifier(m_mountWatcher->fileDescriptor(), QSocketNotifier::Exception, this);
        connect(notifier, &QSocketNotifier::activated, this, changed);
    } else {
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, changed);
        poll->start(1000);
    }
}

// ---- fitting the screen ----

namespace {

// The drawn design when it is shown in a scroll area: its background and every control.
class DesignCanvas : public QWidget {
public:
    DesignCanvas(const QPixmap& background, QWidget* parent) : QWidget(parent), background_(background) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), background_);
    }

private:
    QPixmap background_;
};

// Room a window manager's frame takes around the window, when the window cannot tell yet.
constexpr QSize kFrameAllowance{16, 40};

}  // namespace

void MainWindow::FitInto(const QRect& available) {
    QSize frame = frameGeometry().size() - size();
    if (frame.isEmpty()) frame = kFrameAllowance;
    const QSize room = available.size() - frame;
    const QSize design(m_layout.width, m_layout.height);
    if (m_scroll || (design.width() <= room.width() && design.height() <= room.height())) return;
    auto* canvas = new DesignCanvas(m_background, nullptr);
    canvas->setObjectName(QStringLiteral("DesignCanvas"));
    canvas->setPalette(palette());
    canvas->setFixedSize(design);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) continue;
        const QRect place = child->geometry();
        const bool hidden = child->isHidden();
        child->setParent(canvas);
        child->setGeometry(place);
        child->setHidden(hidden);
    }
    m_batchStop->placeOn(canvas);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("DesignScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidget(canvas);
    m_scroll->setAlignment(Qt::AlignCenter);
    // Tabbing into a control out of sight brings it into view.
    connect(qApp, &QApplication::focusChanged, m_scroll, [this](QWidget*, QWidget* now) {
        if (now && m_scroll->widget()->isAncestorOf(now)) m_scroll->ensureWidgetVisible(now, 8, 8);
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setMinimumSize(200, 150);
    setMaximumSize(design + QSize(bar, bar));
    resize(std::min(room.width(), design.width() + bar), std::min(room.height(), design.height() + bar));
    move(available.topLeft());
    layout->activate();
    // Made after the window may have been shown: shown here, as a shown window's new children are not.
    canvas->show();
    m_scroll->show();
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
    // Only the dialog closes the window (after its questions). Its close() comes while this close
    // is under way, where Qt ignores it: the answer is given through this event.
    m_dialog.OnSysCommand(SysCommand::Close);
    if (m_closing) event->accept();
    else event->ignore();
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

QAction* MainWindow::AddMenuCommand(QMenu* menu, const QString& text, std::function<void()> command) {
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, std::move(command), Qt::QueuedConnection);
    return action;
}

void MainWindow::ShowWindowMenu(const QPoint& globalPos) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    AddMenuCommand(menu, tr("MIN"), [this] {
        if (!m_dialog.OnSysCommand(SysCommand::Other)) showMinimized();
    });
    menu->addSeparator();
    AddMenuCommand(menu, tr("HELP"), [this] { m_dialog.OnSysCommand(SysCommand::ContextHelp); });
    menu->addSeparator();
    // Remembered for the next start in the window's own state.
    QAction* loudness = menu->addAction(tr("Even Loudness"));
    loudness->setCheckable(true);
    loudness->setChecked(m_dialog.EvenLoudness());
    loudness->setToolTip(tr("Set every song added from now on to the same loudness (-16 LUFS)"));
    connect(loudness, &QAction::toggled, this, [this](bool on) {
        m_dialog.SetEvenLoudness(on);
        if (const auto state = WindowState()) state->setValue(kEvenLoudnessKey, on);
    });
    menu->addSeparator();
    AddMenuCommand(menu, Q(ForLinux(CoreText(kAboutMenuText).toStdString())),
                   [this] { m_dialog.OnSysCommand(SysCommand::About); });
    menu->popup(globalPos);
}

namespace {

// The local files and folders a drag carries, as file names of this system.
std::vector<std::string> LocalFiles(const QMimeData* mime) {
    std::vector<std::string> files;
    if (!mime || !mime->hasUrls()) return files;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile()) files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return files;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> files = LocalFiles(event->mimeData());
    if (files.empty()) return;
    event->acceptProposedAction();
    // Once the drop has returned: the drag's own loop ends before any message box opens.
    QTimer::singleShot(0, this, [this, files = std::move(files)] { m_dialog.OnDropFiles(files); });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // Files dropped on a text box are queued like those dropped anywhere else on the window.
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (LocalFiles(drag->mimeData()).empty()) return false;
        if (type == QEvent::Drop) {
            dropEvent(drag);
        } else {
            drag->acceptProposedAction();
        }
        return true;
    }
    if (type == QEvent::KeyPress && watched == control(ControlId::SearchBox) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // Escape empties the search (and shows every song again); it never reaches the window.
        auto* search = static_cast<QLineEdit*>(watched);
        if (!search->text().isEmpty()) {
            search->clear();
            m_searchDelay->start();
        }
        return true;
    }
    if (type != QEvent::FocusIn && type != QEvent::FocusOut) return false;
    const bool in = type == QEvent::FocusIn;
    if (watched == control(ControlId::SearchBox)) {
        in ? m_dialog.OnSearchSetFocus() : m_dialog.OnSearchKillFocus();
    } else if (watched == control(ControlId::Number)) {
        in ? m_dialog.OnNumberSetFocus() : m_dialog.OnNumberKillFocus();
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
        // The boxes show what the user typed, apart from the search box's placeholder.
        edit->setText(id == ControlId::SearchBox && text == kSearchPlaceholder ? CoreText(kSearchPlaceholder)
                                                                               : Q(text));
        if (id == ControlId::SearchBox) {
            // Grey while it shows the placeholder, black otherwise.
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Text,
                             text == kSearchPlaceholder
                                 ? QColor(kPlaceholderColour[0], kPlaceholderColour[1], kPlaceholderColour[2])
                                 : QColor(Qt::black));
            edit->setPalette(palette);
        }
    } else if (id == ControlId::SongFolderText) {
        ShowFolderText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control(id))) {
        label->setText(ShownText(text));
        m_labelTexts[id] = text;
    }
}

void MainWindow::ShowFolderText(const std::string& text) {
    auto* label = static_cast<QLabel*>(control(ControlId::SongFolderText));
    m_folderText = text;
    const QString whole = ShownText(text);
    const QFontMetrics metrics(label->font());
    const int room = label->contentsRect().width();
    QString shown = whole;
    if (metrics.horizontalAdvance(whole) > room) {
        // The offer of a found drive breaks after the path, which is shortened in the middle to
        // fit its line; any other text (a path) is shortened in the middle as a whole.
        QString offer = CoreText(kDeviceOfferText);
        const QString placeholder = offer.contains(QStringLiteral("%1")) ? QStringLiteral("%1") : QStringLiteral("%s");
        const QString before = offer.left(offer.indexOf(placeholder));
        const QString after = offer.mid(offer.indexOf(placeholder) + 2);
        const int space = after.indexOf(' ');
        if (space > 0 && whole.startsWith(before) && whole.endsWith(after) &&
            whole.size() > before.size() + after.size()) {
            const QString path = whole.mid(before.size(), whole.size() - before.size() - after.size());
            const QString head = after.left(space);
            const int pathRoom = room - metrics.horizontalAdvance(before + head);
            shown = before + metrics.elidedText(path, Qt::ElideMiddle, pathRoom) + head + '\n' +
                    metrics.elidedText(after.mid(space + 1), Qt::ElideRight, room);
        } else {
            shown = metrics.elidedText(whole, Qt::ElideMiddle, room);
        }
    }
    label->setText(shown);
    label->setToolTip(shown == whole ? QString() : whole);
    label->setAccessibleName(whole);
}

std::string MainWindow::GetText(ControlId id) {
    if (auto* edit = qobject_cast<QLineEdit*>(control(id))) {
        // The logic knows its placeholder in English.
        if (id == ControlId::SearchBox && edit->text() == CoreText(kSearchPlaceholder)) return kSearchPlaceholder;
        return edit->text().toStdString();
    }
    if (id == ControlId::SongFolderText) return m_folderText;
    if (auto it = m_labelTexts.find(id); it != m_labelTexts.end()) return it->second;
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

SkinnedListView* MainWindow::ListOf(ControlId list) const {
    return list == ControlId::DeviceList ? m_deviceList : m_workList;
}

void MainWindow::DeleteAllRows(ControlId list) { ListOf(list)->songModel()->removeAllRows(); }

void MainWindow::InsertRow(ControlId list, int row, const RowTexts& texts) {
    ListOf(list)->songModel()->insertSongRow(row, texts);
}

void MainWindow::SetRowTexts(ControlId list, int row, const RowTexts& texts) {
    ListOf(list)->songModel()->setSongRowTexts(row, texts);
}

void MainWindow::DeleteRow(ControlId list, int row) { ListOf(list)->songModel()->removeSongRow(row); }

void MainWindow::SetRowChecked(ControlId list, int row, bool checked) {
    ListOf(list)->songModel()->setRowChecked(row, checked);
}

bool MainWindow::IsRowChecked(ControlId list, int row) { return ListOf(list)->songModel()->isRowChecked(row); }

void MainWindow::SetAllRows(ControlId list, std::vector<RowTexts> rows) {
    ListOf(list)->songModel()->setAllRows(std::move(rows));
}

void MainWindow::MarkRows(ControlId list, const std::vector<int>& rows) { ListOf(list)->markRows(rows); }

void MainWindow::ShowOnlyRows(ControlId list, const std::optional<std::vector<int>>& rows) {
    ListOf(list)->showOnlyRows(rows);
}

std::vector<int> MainWindow::SelectedRows(ControlId list) { return ListOf(list)->selectedSourceRows(); }

void MainWindow::ShowCheckBoxes(ControlId list, bool shown) { ListOf(list)->songModel()->setCheckBoxesShown(shown); }

void MainWindow::SetRedraw(ControlId list, bool redraw) { ListOf(list)->setRedraw(redraw); }

void MainWindow::SetProgressRange(int lower, int upper) { m_progress->setRange(lower, upper); }

void MainWindow::SetProgressPos(int position) { m_progress->setPosition(position); }

// ---- window ----

void MainWindow::CommandStarted() {
    ++m_commandCount;
    if (m_commandDepth++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void MainWindow::CommandEnded() {
    if (--m_commandDepth > 0) return;
    QApplication::restoreOverrideCursor();
    m_releaseMemory->start();
}

void MainWindow::ReleaseFreedMemory() {
#ifdef __GLIBC__
    // Reading a 65,535-song list leaves tens of MB of freed copies (file bytes, parsed songs) that
    // the allocator would keep; they go back to the system once the window is idle (not between
    // two keys typed into the search box).
    constexpr std::size_t kFreeWorthReturning = 8u << 20;
    if (mallinfo2().fordblks > kFreeWorthReturning) malloc_trim(0);
#endif
}

void MainWindow::Repaint() { update(); }

void MainWindow::PumpMessage() {
    // While a batch's stop is offered every step looks for it (a step is a mebibyte copied), and
    // input reaches the stop button alone (BatchStop holds back the rest).
    if (m_batchStop->offered()) {
        QCoreApplication::processEvents();
        return;
    }
    // Once per frame is enough to keep painting; pumping for each of 65,535 rows would cost more
    // than the rows themselves.
    static QElapsedTimer sincePump;
    if (sincePump.isValid() && sincePump.elapsed() < 15) return;
    sincePump.start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::OfferStop(bool offered) { m_batchStop->offer(offered); }

bool MainWindow::StopRequested() { return m_batchStop->requested(); }

void MainWindow::StartTimer(int, int milliseconds) { m_timer->start(milliseconds); }

void MainWindow::StopTimer(int) { m_timer->stop(); }

void MainWindow::CloseWindow() {
    m_closing = true;
    m_timer->stop();
    close();
}

MessageAnswer MainWindow::ShowMessage(const Notice& notice, MessageButtons buttons) {
    const ArrowCursor arrow;
    QMessageBox box(QtIcon(notice.icon), ShownText(notice.caption), ShownText(notice.text),
                    buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, this);
    // Enter alone never says yes to a question: each one guards something hard to undo.
    if (buttons == MessageButtons::YesNo) box.setDefaultButton(QMessageBox::No);
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

std::vector<std::string> MainWindow::ChooseOpenFiles(const FileDialogOptions& options) {
    const ArrowCursor arrow;
    QFileDialog dialog(this, QString(), QString(), QtFilter(options.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    std::vector<std::string> files;
    if (dialog.exec() != QDialog::Accepted) return files;
    for (const QString& file : dialog.selectedFiles()) files.push_back(QFile::encodeName(file).toStdString());
    return files;
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
    const QString folder = QFileDialog::getExistingDirectory(this, ShownText(title));
    if (folder.isEmpty()) return std::nullopt;
    return folder.toStdString();
}

void MainWindow::ShowContextMenu(bool deleteEnabled) {
    // Shown without waiting: its commands must reach the dialog after this command has ended.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* remove = AddMenuCommand(menu, tr("Delete"), [this] { m_dialog.OnDeleteSong(); });
    remove->setEnabled(deleteEnabled);
    AddMenuCommand(menu, tr("About"), [this] { m_dialog.OnAbout(); });
    menu->popup(m_listMenuAt);
}

void MainWindow::ShowAbout() {
    const ArrowCursor arrow;
    AboutBox box(windowIcon(), this);
    box.exec();
}

void MainWindow::OpenHelp() {
    const std::filesystem::path index = m_helpFile.empty() ? HelpIndexFile() : m_helpFile;
    if (index.empty()) {
        const ArrowCursor arrow;
        QMessageBox::warning(this, QString::fromUtf8(kApplicationName),
                             tr("The help pages were not found beside the program (help/index.html) "
                                "or in share/songloader/help/."));
        return;
    }
    const QString file = QString::fromStdString(index.string());
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file))) {
        const ArrowCursor arrow;
        QMessageBox::warning(this, QString::fromUtf8(kApplicationName),
                             tr("No web browser could be started to show the help.\n\nThe help is in %1; open "
                                "it in a browser.")
                                 .arg(file));
    }
}

// ---- work on other threads ----

void MainWindow::RunOnWorker(const std::function<void()>& work) {
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // The loop also ends when the application quits: nothing the work uses goes before it has.
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

void MainWindow::RunWork(const std::function<void()>& work, const std::string&) { RunOnWorker(work); }

void MainWindow::RunPrintJob(int highestPage, const print::PageRenderer& renderPage) {
    gui::RunPrintJob(this, highestPage, renderPage);
}

PreviewEnd MainWindow::RunPrintPreview(int highestPage, const print::PageRenderer& renderPage) {
    return gui::RunPrintPreview(this, highestPage, renderPage);
}

void MainWindow::SetTransferBatch(const TransferBatch& batch) {
    if (batch.song <= 1) m_batchStart = std::chrono::steady_clock::now();
    m_transferBatch = batch;
}

DownloadResult MainWindow::RunTransfer(const Transfer& transfer, DownloadProgress& progress, const std::string& name) {
    // The batch told before this transfer is its batch; a transfer told of none stands alone.
    const std::optional<TransferBatch> batch = std::exchange(m_transferBatch, std::nullopt);
    return RunTransferWithProgressWindow(this, transfer, progress, name, batch, m_batchStart);
}

}  // namespace songloader::gui
