// SPDX-License-Identifier: GPL-3.0-or-later
// The entry form: number box, "Auto-Generate", "Browse ", "Queue to Add", "Clear Fields",
// loading a listed song by double-click and storing it back with "Revise".
#include <cstdlib>
#include <unordered_map>

#include "core/app/dialog_texts.h"
#include "core/app/sonquill_dlg.h"
#include "core/catalogue/language_table.h"
#include "core/entry/add_queue.h"
#include "core/entry/device_revise.h"
#include "core/entry/import_plan.h"
#include "core/entry/media_files.h"
#include "core/entry/number_rules.h"
#include "core/media/media_probe.h"
#include "core/media/probe_files.h"
#include "core/media/player_profile.h"
#include "core/text/code_page.h"

namespace songloader {

namespace {

constexpr ControlId kFormTexts[] = {ControlId::Number,   ControlId::Title,    ControlId::Artist,
                                    ControlId::Composer, ControlId::Lyricist, ControlId::MediaPath};

std::string WithArgument(const char* pattern, const std::string& argument) {
    std::string text = pattern;
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, argument);
    return text;
}

Notice ErrorNotice(const char* text) { return {text, kCaptionErrorUpper, NoticeIcon::Exclamation}; }

}  // namespace

// ---- number box ----

void CSonquillDlg::OnNumberSetFocus() { m_numberVisited = true; }

void CSonquillDlg::OnNumberUpdate() {
    RunCommand([&] { CheckNumberFirstDigit(); });
}

void CSonquillDlg::CheckNumberFirstDigit() {
    if (m_cloudListShown) {
        m_view.ShowCheckBoxes(ControlId::WorkList, true);
        return;
    }
    m_view.ShowCheckBoxes(ControlId::WorkList, false);
    m_numberFirstDigitBad = false;
    const std::string text = m_view.GetText(ControlId::Number);
    if (NumberFirstDigitAccepted(text)) return;
    m_numberFirstDigitBad = true;
    Show(AppNotice(kFirstDigitMessage));
    m_view.SetFocus(ControlId::Number);
    m_view.SetText(ControlId::Number, text.substr(1));
}

void CSonquillDlg::OnNumberKillFocus() {
    RunCommand([&] {
        if (!m_numberVisited || m_numberFirstDigitBad || m_device.songFolder().empty()) return;
        const std::string text = m_view.GetText(ControlId::Number);
        if (!NumberBelowUserRange(text)) return;
        Show({kNumberRangeMessage, kCaptionNote, NoticeIcon::None});
        m_numberVisited = false;
        m_view.SetFocus(ControlId::Number);
    });
}

void CSonquillDlg::OnAutoGenerate() {
    RunCommand([&] {
        m_view.SetText(ControlId::Number, std::to_string(NextFreeUserNumber(m_deviceSongs, m_workSongs)));
        CheckNumberFirstDigit();
    });
}

// ---- media file, queue, clearing ----

void CSonquillDlg::OnBrowse() {
    RunCommand([&] {
        if (m_cloudListShown) {
            m_cloudListShown = false;
            ClearList(ControlId::WorkList);
        }
        FileDialogOptions options;
        options.filter = kMediaFileFilter;
        options.defaultExtension = kMediaDefaultExtension;
        options.mustExist = true;
        const std::vector<std::string> files = m_view.ChooseOpenFiles(options);
        if (files.empty()) {
            Show({kSelectFileMessage, kCaptionNote, NoticeIcon::None});
            return;
        }
        if (files.size() == 1) {
            m_view.SetText(ControlId::MediaPath, files.front());
            return;
        }
        QueueFiles(files);
    });
}

void CSonquillDlg::OnDropFiles(const std::vector<std::string>& paths) {
    RunCommand([&] {
        if (paths.empty()) return;
        if (m_cloudListShown) {
            m_cloudListShown = false;
            ClearList(ControlId::WorkList);
        }
        QueueFiles(paths);
    });
}

void CSonquillDlg::QueueFiles(const std::vector<std::string>& paths) {
    if (m_device.songFolder().empty()) {
        Show({kNeedDeviceMessage, kCaptionErrorUpper, NoticeIcon::Exclamation});
        return;
    }
    const int language = m_view.ComboSelection(ControlId::EntryLanguage);
    if (language < 0 || language >= static_cast<int>(kEntryLanguageItems.size())) {
        Show({kChooseLanguageFirstMessage, kCaptionNote, NoticeIcon::None});
        m_view.SetFocus(ControlId::EntryLanguage);
        return;
    }
    const std::vector<std::filesystem::path> given(paths.begin(), paths.end());
    const ImportFiles files = CollectImportFiles(given, m_device.songFolder());
    ImportOptions options;
    options.languageText = kEntryLanguageItems[static_cast<std::size_t>(language)];
    options.codePage = m_settings.codePage;
    options.leaveOutConversions = m_settings.playerProfile;
    // Each file is probed once, however often the batch is planned.
    const std::vector<Result<MediaFacts>> probed = ProbeFiles(files.files);
    std::unordered_map<std::string, double> secondsOf;
    for (std::size_t i = 0; i < files.files.size(); ++i) {
        if (probed[i]) secondsOf[files.files[i].string()] = probed[i]->seconds;
    }
    ImportPlan plan = PlanImport(files.files, probed, m_deviceSongs, m_workSongs, options);
    // Files that play only after conversion: asked about once for the batch.
    std::size_t toConvert = 0;
    double secondsToConvert = 0;
    for (const ImportSkip& skip : plan.skipped) {
        if (!skip.needsConversion) continue;
        ++toConvert;
        secondsToConvert += secondsOf[skip.file];
    }
    const bool convert = toConvert > 0 && ConversionConfirmed(toConvert, secondsToConvert);
    if (convert) {
        options.leaveOutConversions.reset();
        plan = PlanImport(files.files, probed, m_deviceSongs, m_workSongs, options);
    }

    std::string repeats;
    for (const ImportSkip& skip : plan.skipped) {
        if (skip.duplicate) repeats += "\n" + skip.message;
    }
    if (!repeats.empty() && Show({std::string(kRepeatsQuestion) + repeats + "\n\n" + kRepeatsQuestionEnd, kCaptionNote,
                                  NoticeIcon::Question},
                                 MessageButtons::YesNo) == MessageAnswer::Yes) {
        options.keepDuplicates = true;
        plan = PlanImport(files.files, probed, m_deviceSongs, m_workSongs, options);
    }
    if (!m_cloudListShown) m_view.ShowCheckBoxes(ControlId::WorkList, false);
    for (const ROWELEMENT& song : plan.songs) AppendRow(ControlId::WorkList, song);
    std::string notQueued;
    for (const ImportSkip& skip : files.missing) notQueued += "\n" + skip.message;
    for (const ImportSkip& skip : plan.skipped) {
        // Repeats and conversions the user chose to leave out were named in the questions already.
        if (skip.needsConversion) continue;
        if (!skip.duplicate || options.keepDuplicates) notQueued += "\n" + skip.message;
    }
    if (!notQueued.empty()) Show({kFilesNotQueuedMessage + notQueued, kCaptionNote, NoticeIcon::Exclamation});
}

CSonquillDlg::FormRead CSonquillDlg::ReadFormTexts() {
    FormRead read;
    auto deviceText = [&](ControlId control) {
        std::string typed = m_view.GetText(control);
        auto bytes = Utf8ToDevice(typed, m_settings.codePage);
        if (bytes) return *bytes;
        read.textsStorable = false;
        return typed;
    };
    read.form.numberText = deviceText(ControlId::Number);
    const int language = m_view.ComboSelection(ControlId::EntryLanguage);
    if (language >= 0 && language < static_cast<int>(kEntryLanguageItems.size())) {
        read.form.languageText = kEntryLanguageItems[static_cast<std::size_t>(language)];
    }
    read.form.title = deviceText(ControlId::Title);
    read.form.artist = deviceText(ControlId::Artist);
    read.form.composer = deviceText(ControlId::Composer);
    read.form.lyricist = deviceText(ControlId::Lyricist);
    // A file name of this computer: kept as the system gives it.
    read.form.mediaPath = m_view.GetText(ControlId::MediaPath);
    return read;
}

void CSonquillDlg::OnQueueToAdd() {
    RunCommand([&] {
        const FormRead read = ReadFormTexts();
        const Result<ROWELEMENT> check =
            CheckQueueToAdd(read.form, !m_device.songFolder().empty(), m_workSongs, m_deviceSongs);
        if (!check) {
            Show(check.failure().AsNotice());
            return;
        }
        if (!read.textsStorable) {
            Show(AppNotice(WithArgument(kTextNotStorableMessage, m_settings.codePage), NoticeIcon::Exclamation));
            return;
        }
        if (!CheckEnteredSong(*check, false, static_cast<int>(m_workSongs.size()))) return;
        if (const auto facts = ProbeMedia(check->mediaPath, check->mediaPath);
            facts && JudgeMedia(*facts, m_settings.playerProfile).verdict == MediaVerdict::PlaysAfterConversion &&
            !ConversionConfirmed(1, facts->seconds)) {
            return;
        }
        if (!QueueRepeatConfirmed(*check)) return;
        m_currentSong = *check;
        AppendRow(ControlId::WorkList, m_currentSong);
    });
}

void CSonquillDlg::EnableNewSongControls(bool enabled) {
    m_view.Enable(ControlId::MediaPath, enabled);
    m_view.Enable(ControlId::Browse, enabled);
    m_view.Enable(ControlId::QueueToAdd, enabled);
}

void CSonquillDlg::EmptyFormFields() {
    for (ControlId control : kFormTexts) m_view.SetText(control, "");
    m_view.SetComboSelection(ControlId::EntryLanguage, -1);
}

void CSonquillDlg::ClearForm() {
    EmptyFormFields();
    m_view.SetFocus(ControlId::Number);
    EnableNewSongControls(true);
    m_view.Enable(ControlId::Revise, false);
    m_editTarget = EditTarget::None;
    m_editRow = -1;
}

void CSonquillDlg::OnClearFields() {
    RunCommand([&] { ClearForm(); });
}

// ---- editing listed songs ----

void CSonquillDlg::FillForm(const ROWELEMENT& song) {
    m_view.SetText(ControlId::Number, ToView(song.numberText));
    m_loadedLanguageEntry = FindLanguageEntry(kEntryLanguageItems, song.languageText);
    m_view.SetComboSelection(ControlId::EntryLanguage, m_loadedLanguageEntry);
    m_view.SetText(ControlId::Title, ToView(song.title));
    m_view.SetText(ControlId::Artist, ToView(song.artist));
    m_view.SetText(ControlId::Composer, ToView(song.composer));
    m_view.SetText(ControlId::Lyricist, ToView(song.lyricist));
    m_view.SetText(ControlId::MediaPath, song.mediaPath);
}

void CSonquillDlg::OnWorkListDoubleClick(int row) {
    RunCommand([&] {
        if (row < 0 || row >= static_cast<int>(m_workSongs.size())) return;
        EmptyFormFields();
        m_view.SetFocus(ControlId::Number);
        m_currentSong = m_workSongs[static_cast<std::size_t>(row)];
        FillForm(m_currentSong);
        m_view.Enable(ControlId::Revise, true);
        m_view.Enable(ControlId::MediaPath, true);
        m_view.Enable(ControlId::Browse, true);
        m_editTarget = EditTarget::WorkList;
        m_editRow = row;
    });
}

void CSonquillDlg::OnDeviceListDoubleClick(int row) {
    RunCommand([&] {
        if (row < 0 || row >= static_cast<int>(m_deviceSongs.size())) return;
        EmptyFormFields();
        m_view.SetFocus(ControlId::Number);
        EnableNewSongControls(false);
        m_currentSong = m_deviceSongs[static_cast<std::size_t>(row)];
        FillForm(m_currentSong);
        m_editTarget = EditTarget::DeviceList;
        m_editRow = row;
        m_view.Enable(ControlId::Revise, true);
    });
}

void CSonquillDlg::OnRevise() {
    RunCommand([&] {
        if (const std::vector<int> rows =
                m_cloudListShown ? std::vector<int>() : m_view.SelectedRows(ControlId::WorkList);
            rows.size() > 1) {
            ReviseSelectedQueuedSongs(rows);
            return;
        }
        if (m_editTarget == EditTarget::None || m_editRow < 0) return;
        const bool onDevice = m_editTarget == EditTarget::DeviceList;
        NumberedSongList& records = onDevice ? m_deviceSongs : m_workSongs;
        if (m_editRow >= static_cast<int>(records.size())) return;
        const std::size_t row = static_cast<std::size_t>(m_editRow);

        const FormRead read = ReadFormTexts();
        ROWELEMENT song = SongFromForm(read.form);
        // The form offers three languages; a song in another one keeps it unless the user picks one.
        if (m_view.ComboSelection(ControlId::EntryLanguage) == m_loadedLanguageEntry) {
            SetLanguage(song, records[row].language);
        }
        if (song.title.empty()) {
            Show(ErrorNotice(kNeedTitleMessage));
            return;
        }
        // The path box is disabled while a device song is edited: its file stays where it is.
        if (onDevice) {
            song.mediaPath = records[row].mediaPath;
        } else if (song.mediaPath.empty()) {
            Show(ErrorNotice(kFilePathInvalidMessage));
            return;
        }
        if (!read.textsStorable) {
            Show(AppNotice(WithArgument(kTextNotStorableMessage, m_settings.codePage), NoticeIcon::Exclamation));
            return;
        }
        m_currentSong = song;
        if (onDevice) {
            if (CatalogueWritable()) ReviseDeviceSong(song);
            return;
        }
        if (!CheckEnteredSong(song, song.numberText != records[row].numberText, static_cast<int>(row))) return;
        // A new file must be one the player plays, as when it was queued.
        const auto media = ProbeMedia(song.mediaPath, song.mediaPath);
        if (!media) {
            Show({media.message(), kCaptionErrorUpper, NoticeIcon::Exclamation});
            return;
        }
        if (song.mediaPath != records[row].mediaPath &&
            JudgeMedia(*media, m_settings.playerProfile).verdict == MediaVerdict::PlaysAfterConversion &&
            !ConversionConfirmed(1, media->seconds)) {
            return;
        }
        records.Replace(row, song);
        m_view.SetRowTexts(ControlId::WorkList, m_editRow, RowTextsOf(song));
        ClearForm();
        Show({kRevisedMessage, kCaptionNote, NoticeIcon::None});
    });
}

bool CSonquillDlg::CheckEnteredSong(const ROWELEMENT& song, bool numberChanged, int ownWorkRow) {
    // A number that stays was checked when it came.
    if (numberChanged) {
        if (const Result<> free = CheckSongNumber(song.numberText, m_workSongs, m_deviceSongs, ownWorkRow, -1); !free) {
            Show(free.failure().AsNotice());
            return false;
        }
    }
    // The song's row in the list the next rebuild writes: device songs first, then the queue.
    const std::size_t rowNumber = m_deviceSongs.size() + static_cast<std::size_t>(ownWorkRow) + 1;
    if (const Result<> fits = CheckSongRow(song, rowNumber); !fits) {
        Show(fits.failure().AsNotice());
        return false;
    }
    return true;
}

void CSonquillDlg::ReviseDeviceSong(const ROWELEMENT& revised) {
    const int row = m_editRow;
    int steps = 0;
    ReviseHooks hooks;
    hooks.messageText = [&](const std::string& deviceBytes) { return ToView(deviceBytes); };
    hooks.beginWrite = [&] { return BeginDeviceWrite(); };
    hooks.onMoveStart = [&](std::uint64_t bytes) {
        steps = static_cast<int>(MebibytesRoundedUp(bytes));
        m_view.SetProgressRange(1, steps);
    };
    hooks.onChunk = [&](std::uint64_t done) { StepProgress(static_cast<int>(done)); };
    hooks.onMoveEnd = [&] {
        m_view.SetProgressPos(steps);
        m_view.SetProgressRange(1, 500);
        m_view.SetProgressPos(500);
    };
    // The window's rebuild shows its own messages.
    hooks.rebuild = [&]() -> Result<CatalogueWritten> {
        if (!RebuildCatalogue(RebuildMode::Revise)) return FailQuietly();
        return CatalogueWritten{};
    };
    const auto storeRow = [&](const ROWELEMENT& song) {
        m_deviceSongs.Replace(static_cast<std::size_t>(row), song);
        m_view.SetRowTexts(ControlId::DeviceList, row, RowTextsOf(song));
    };
    const Result<CatalogueWritten> result =
        m_device.ReviseSong(m_deviceSongs, static_cast<std::size_t>(row), revised, storeRow, hooks, m_workSongs);
    for (const Notice& notice : result ? result->notices : result.failure().AsNotices()) Show(notice);
    if (!result) return;
    EnableNewSongControls(true);
    ClearForm();
}

}  // namespace songloader
