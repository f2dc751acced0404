// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/app/batch_summary.h"
#include "core/app/control_id.h"
#include "core/app/dialog_view.h"
#include "core/catalogue/cloud_catalogue.h"
#include "core/catalogue/list_file_reader.h"
#include "core/catalogue/numbered_song_list.h"
#include "core/catalogue/row_element.h"
#include "core/cloud/cloud_client.h"
#include "core/cloud/download_protocol.h"
#include "core/common/notice.h"
#include "core/device/device_identity.h"
#include "core/device/drive_ejector.h"
#include "core/device/drive_system.h"
#include "core/device/mount_watcher.h"
#include "core/entry/add_queue.h"
#include "core/entry/catalogue_rebuild.h"
#include "core/entry/converted_songs.h"
#include "core/entry/device_songs.h"
#include "core/media/player_profile.h"
#include "core/recovery/interrupted_writes.h"
#include "core/session/device_session.h"

namespace songloader {

// What the main window needs to know about the system it runs on.
struct DialogSettings {
    std::string codePage = "CP1252";  // device texts <-> UTF-8
    bool traditionalChinese = false;  // folder picker title
    // The time, for reusing a network probe while the user types; empty: the steady clock.
    std::function<std::chrono::steady_clock::time_point()> clock;
    bool thai = false;                                     // the page font of printouts
    MountFiles mountFiles;                                 // tells one volume from another
    std::shared_ptr<DriveEjector> ejector;                 // "Eject USB Drive"; none: not offered by the system
    PlayerProfile playerProfile = BuiltInPlayerProfile();  // what the player plays
    // The converter, looked for when a batch needs it (FindConverter); none: ffmpeg on PATH.
    std::function<Result<std::filesystem::path>()> findConverter;
};

// A probe that found the cloud is trusted this long by the search box.
inline constexpr std::chrono::seconds kProbeReuse{5};

enum class EditTarget { None, WorkList, DeviceList };

// The main window's state and its command handlers. It never draws: everything it shows goes
// through the DialogView. Each public On... handler is one row of the window's command table.
// A command or notification that arrives while another handler runs (from a pumped message or a
// modal box) is ignored; only the focus notifications of the two edit boxes, which just note
// state, always run.
class CSonquillDlg {
public:
    CSonquillDlg(DialogView& view, const DriveSystem& drives, const CloudClient& cloud, DialogSettings settings = {});

    // Start-up, timer, window commands.
    void OnInitDialog();
    void OnTimer();
    void OnOk();  // Enter: nothing
    // Escape: the same path as Close, but only while neither the form nor the work list holds
    // anything (Escape is pressed to leave a popup or a box far more often than to quit).
    void OnCancel();
    // False when the view should do the default processing (for example minimise). A close that
    // arrives while a command runs is answered once that command has ended.
    bool OnSysCommand(SysCommand command);
    void OnAbout();
    void OnSearchSetFocus();
    void OnSearchKillFocus();

    // Device choice, removal and insertion, safe removal.
    void OnAutoCheckDevice();
    void OnSelectDevice();
    // What the mount watcher saw; the view calls this whenever the mount table changed.
    void OnMountChanges(const std::vector<MountEvent>& events);
    void OnEjectDevice();

    // Cloud.
    void OnCloudSongs();
    void OnCloudMidi();
    void OnSearchChange();
    void OnSearchLanguageChange();

    // Entry form.
    void OnNumberSetFocus();
    void OnNumberUpdate();
    void OnNumberKillFocus();
    void OnAutoGenerate();
    void OnBrowse();
    // Files or folders dropped on the window (or several files chosen in "Browse"): each media
    // file found is queued with the names found for it, the entry language and the next free number.
    void OnDropFiles(const std::vector<std::string>& paths);
    // "Even Loudness": every song added from now on is set to one loudness (the view remembers it).
    void SetEvenLoudness(bool on) { m_evenLoudness = on; }
    bool EvenLoudness() const { return m_evenLoudness; }
    void OnQueueToAdd();
    void OnClearFields();
    void OnRevise();
    void OnAddToDevice();

    // List views.
    void OnWorkListDoubleClick(int row);
    void OnDeviceListDoubleClick(int row);
    // A click on the work list, asked before anything changes; for a check box (clicked, or Space
    // on the row) true means refused: the view leaves the box as it was (a song already on the
    // device) and never toggles it.
    bool OnWorkListClick(int row, bool onCheckBox);
    void OnListRightClick(ControlId list, int row);
    void OnSelectAll();
    void OnDeleteSong();  // the context menu's "Delete" on the row it was opened on
    // The Delete key on a selected row: asks "Delete <number> <title>?" first.
    void OnDeleteKey(ControlId list, int row);
    // The work list's selection changed: several queued songs selected can be revised at once
    // (language and artist).
    void OnWorkListSelectionChange();

    // Output.
    void OnExportSongList();
    void OnPrint();  // "Print" and the standard print command
    void OnPrintPreview();

    // Read-only state, for the view and for tests.
    const SongList& workSongs() const { return m_workSongs; }
    const SongList& deviceSongs() const { return m_deviceSongs; }
    const SongList& pendingCopies() const { return m_pendingCopies; }
    const std::filesystem::path& deviceRoot() const { return m_device.root(); }
    const std::filesystem::path& songFolder() const { return m_device.songFolder(); }
    EditTarget editTarget() const { return m_editTarget; }
    int editRow() const { return m_editRow; }
    ControlId menuList() const { return m_menuList; }
    int menuRow() const { return m_menuRow; }
    bool cloudListShown() const { return m_cloudListShown; }
    // What the last "Add to USB Drive" or MIDI pack download did.
    const BatchSummary& lastBatch() const { return m_lastBatch; }

private:
    // Runs a handler's body unless another handler is running (re-entrancy guard).
    bool RunCommand(const std::function<void()>& body);

    // Text at the view's edge.
    std::string ToView(const std::string& deviceBytes) const;
    RowTexts RowTextsOf(const ROWELEMENT& song) const;
    Notice AppNotice(std::string text, NoticeIcon icon = NoticeIcon::None) const;
    MessageAnswer Show(const Notice& notice, MessageButtons buttons = MessageButtons::Ok);

    // The search over the device list, its hit count and the line under the device list.
    // `typed` empty: every song shown again.
    void FilterDeviceList(const std::string& typed);
    // After a command changed the device list: the filter follows it.
    void RefreshDeviceFilter();
    void ShowHitCount();
    void ShowDeviceSummary();
    // The form's boxes or the work list hold something the user would lose.
    bool FormOrWorkListHoldsAnything();

    // Record lists and their views.
    NumberedSongList& RecordsOf(ControlId list);
    static EditTarget EditTargetOf(ControlId list);
    // Empties the records of `list` and the view's rows; `viewRowsFollow`: the caller sets the
    // view's rows itself right after (one change for the view instead of two).
    void ClearList(ControlId list, bool viewRowsFollow = false);
    void AppendRow(ControlId list, const ROWELEMENT& song);
    void QueueFiles(const std::vector<std::string>& paths);
    // Asks once for a batch whose `count` files play only after conversion (`seconds` of media);
    // true on Yes.
    bool ConversionConfirmed(std::size_t count, double seconds);
    // The queued songs added, through the converter for those that need it (or whose loudness is set).
    Result<AddReport> AddThroughConverter(const SongList& queue, AddHooks hooks);
    void StepProgress(int position);
    // The output commands ("Print", "Print Preview", "Export Song List") need device songs: they
    // go off as soon as a command leaves the device list empty.
    void EnableOutput(bool previewOnly);
    void DisableOutputWithoutDeviceSongs();

    // Device.
    void PublishDeviceFolder(const std::filesystem::path& root);
    // Reads SgList.dat of the song folder when there is one; `beforeRead` runs once it is found.
    bool ReadDeviceFolderList(const std::function<void()>& beforeRead = {});
    // Reads a list with `read`, a row a song as it comes, into the list view of `kind`.
    bool ReadListIntoView(ListKind kind, const std::function<Result<SongList>(const ListReadHooks&)>& read);
    // Takes the chosen device for writing for the rest of the running command: the write lock,
    // and the check that it is still the volume that was chosen. False (and said why) when not.
    bool BeginDeviceWrite();
    // The chosen device is gone: say so, and show no songs of it. The session calls it when a check
    // before or after a write finds the device gone.
    void ReportDeviceChanged();
    // The device list emptied and the output commands off, as with a device without songs.
    void ClearDeviceSongs();

    // Entry form.
    void CheckNumberFirstDigit();
    void ClearForm();
    void EmptyFormFields();
    void FillForm(const ROWELEMENT& song);
    struct FormRead {
        EntryForm form;             // device bytes
        bool textsStorable = true;  // every text fits the device's code page
    };
    FormRead ReadFormTexts();
    void EnableNewSongControls(bool enabled);
    // The core's device revise of the edited row, under the window's write guard, with its
    // progress bar, rows and rebuild.
    void ReviseDeviceSong(const ROWELEMENT& revised);

    // Cloud.
    std::chrono::steady_clock::time_point Now() const;
    // The reachability rule of the cloud commands; the search may reuse a recent success.
    bool CheckCloudReachable(bool reuseRecentProbe);
    bool LoadCloudList();
    void ShowSearchHits(const std::string& typed);
    TransferRunner ProgressWindow();
    WaitRunner NetworkWait(const std::string& what);
    void AddCloudSongs();

    // Printing.
    void StartPrintJob();
    void StartPrintPreview();

    // Before a cloud download: asks when it is long (many songs or many bytes); false when the
    // user says no. Sets the batch's known size.
    bool ConfirmCloudDownload(const SongList& cloudSongs, const SongList& userSongs);
    // Cloud songs with the title and artist of a song on the device: asks as "Queue to Add" does;
    // on No they are taken out of `cloudSongs`.
    void AskAboutCloudRepeats(SongList& cloudSongs);
    // A song about to be queued that repeats one on the device or in the queue: asks as a drop does.
    bool QueueRepeatConfirmed(const ROWELEMENT& song);
    // "Revise" with several queued songs selected: their language and artist as the form says.
    void ReviseSelectedQueuedSongs(const std::vector<int>& rows);

    // Writing to the device.
    // False, after saying why, while the device list does not show the device's songs.
    bool CatalogueWritable();
    // The entry checks of a new or changed number and the builder's checks of the row of a song
    // queued at `ownWorkRow` (device songs are checked by the core's revise).
    bool CheckEnteredSong(const ROWELEMENT& song, bool numberChanged, int ownWorkRow);
    void AddQueuedSongs();
    // The hooks of an add batch: rows shown while their files come, progress, the device check.
    AddHooks BatchHooks(int& row);
    // Takes the songs an add placed into the lists and the pending copies; false when the device went.
    bool TakeAddReport(const AddReport& report);
    // The catalogue's failure, or what a written catalogue ends with; no "Added successfully"
    // after a list of songs not added that already names those added.
    void ShowAddOutcome(const AddReport& report, bool notAddedShown);
    void AddPending(const ROWELEMENT& song);
    // After a write's mend catalogued what an earlier run recorded.
    void TakeMendedCatalogue(const MendReport& mended);
    // Forgets the pending copies of the chosen device that `which` names.
    void DropPendingOfDevice(const std::function<bool(const ROWELEMENT&)>& which);
    // After the device's catalogue was written from the window's device list.
    void AfterCatalogueWritten(const Notices& notices);
    bool RebuildCatalogue(RebuildMode mode, const std::function<void()>& afterCommit = {});
    // Deletes the song at `row` of `list` once the user says yes to `question`.
    void DeleteListedSong(ControlId list, int row, const Notice& question);
    void RequestClose();

    DialogView& m_view;
    const DriveSystem& m_drives;
    const CloudClient& m_cloud;
    DialogSettings m_settings;
    CloudCatalogue m_catalogue;  // Msong.db, open from a cloud sync on
    std::optional<std::chrono::steady_clock::time_point> m_lastProbeSuccess;

    NumberedSongList m_workSongs;
    NumberedSongList m_deviceSongs;
    // Copies on a device whose catalogue does not name them yet, and the device each is on.
    SongList m_pendingCopies;
    std::vector<std::optional<DeviceIdentity>> m_pendingDevices;
    // m_deviceSongs is what the device's song list holds: false after a failed read, or once the
    // list was emptied for a device choice that did not come about.
    bool m_deviceListRead = true;
    // The volume chosen (none: an empty root and song folder), the stamp of its song list as
    // m_deviceSongs was read (or last written by this window: a write command compares it under the
    // lock, so another program's change is never overwritten), and the write lock held by the
    // running command.
    DeviceSession m_device;
    bool m_deviceLossShown = false;
    std::vector<MountEvent> m_deferredMountEvents;  // arrived while a command ran
    ROWELEMENT m_currentSong;
    EditTarget m_editTarget = EditTarget::None;
    int m_editRow = -1;
    int m_loadedLanguageEntry = -1;  // entry-language item shown for the loaded song
    ControlId m_menuList = ControlId::None;
    int m_menuRow = -1;
    bool m_numberVisited = false;
    bool m_numberFirstDigitBad = true;
    bool m_cloudListShown = false;
    bool m_evenLoudness = false;
    bool m_progressShowsConversion = false;
    int m_progressRangeOfCopy = 500;  // the bar's range while an add batch copies
    std::size_t m_workRowCount = 0;   // rows "Select All" walks
    bool m_selectAllState = false;
    bool m_busy = false;
    bool m_outputEnabled = false;   // an output command was enabled since they were last disabled
    bool m_closeRequested = false;  // a close arrived during a command
    // The search's text over the device list (device bytes), the rows it shows, and the hits of
    // the cloud list shown beside them.
    std::optional<std::string> m_deviceFilter;
    std::vector<int> m_deviceHits;
    std::size_t m_filteredSongs = 0;  // the device list's size when the filter was last shown
    std::size_t m_cloudHits = 0;
    std::string m_shownHitCount;
    std::string m_shownSummary;             // the device line last shown
    std::uint64_t m_batchBytes = 0;         // the running download batch's known size
    std::uint64_t m_batchBytesDone = 0;     // and the bytes of the songs that arrived
    std::vector<std::int32_t> m_batchRows;  // the songs whose rows the running batch added to the device list
    // The running (or last) batch's outcome; failures shown are noted while it runs.
    BatchSummary m_lastBatch;
    bool m_batchRunning = false;
};

}  // namespace songloader
