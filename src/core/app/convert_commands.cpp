// SPDX-License-Identifier: GPL-3.0-or-later
// Songs the player plays only after conversion, and even loudness: the question before such files
// are queued, and the add batch that converts before it copies.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/app/dialog_texts.h"
#include "core/app/filled_text.h"
#include "core/app/sonquill_dlg.h"
#include "core/config/user_settings.h"
#include "core/convert/converter_program.h"

namespace songloader {

namespace {

int Permille(double done, double total) {
    return total > 0 ? static_cast<int>(std::min(1000.0, done * 1000.0 / total)) : 0;
}

}  // namespace

bool CSonquillDlg::ConversionConfirmed(std::size_t count, double seconds) {
    ConversionPlan plan;
    plan.secondsToConvert = seconds;
    const std::string question =
        FilledText(kConvertQuestion, {std::to_string(count), std::to_string(ConversionMinutes(plan))});
    return Show({question, kCaptionNote, NoticeIcon::Question}, MessageButtons::YesNo) == MessageAnswer::Yes;
}

Result<AddReport> CSonquillDlg::AddThroughConverter(const SongList& queue, AddHooks hooks) {
    SongConversion conversion;
    conversion.plan = PlanConversions(queue, m_settings.playerProfile, m_evenLoudness);
    if (!conversion.plan.AnyNeeded()) return m_device.AddSongs(m_deviceSongs, queue, hooks);
    const Result<WorkFolder> work =
        conversion.Ready(m_settings.findConverter ? m_settings.findConverter()
                                                  : FindConverter({}, SettingsSources::FromEnvironment().variable),
                         m_settings.playerProfile);
    if (!work) return work.failure();

    conversion.hooks.stopNow = [this] { return m_closeRequested || m_view.StopRequested(); };
    conversion.hooks.onProgress = [this](const ROWELEMENT&, const ConversionProgress& progress) {
        if (!m_progressShowsConversion) {
            m_view.SetProgressRange(0, 1000);
            m_progressShowsConversion = true;
        }
        std::string text = FilledText(
            kConvertingText, {std::to_string(progress.fileIndex + 1), std::to_string(progress.fileCount),
                              std::to_string(Permille(progress.fileSecondsDone, progress.fileSeconds) / 10),
                              std::to_string(Permille(progress.batchSecondsDone, progress.batchSeconds) / 10)});
        if (progress.secondsLeft >= 0)
            text += FilledText(kConvertingLeftText, {MinutesAndSeconds(progress.secondsLeft)});
        m_view.SetText(ControlId::DeviceSummary, text);
        StepProgress(Permille(progress.batchSecondsDone, progress.batchSeconds));
    };
    // The bar goes back to the batch's bytes when a copy begins.
    const int copyRange = m_progressRangeOfCopy;
    const auto onBytes = hooks.onBytes;
    hooks.onBytes = [this, onBytes, copyRange](const BatchProgress& progress) {
        if (m_progressShowsConversion) {
            m_view.SetProgressRange(1, copyRange);
            m_progressShowsConversion = false;
            ShowDeviceSummary();
        }
        if (onBytes) onBytes(progress);
    };
    // A conversion can be stopped even when it is the batch's only song (AddQueuedSongs offers the
    // stop for batches of several).
    const bool offerStop = queue.size() == 1;
    if (offerStop) m_view.OfferStop(true);
    Result<AddReport> report = m_device.AddSongs(m_deviceSongs, queue, hooks, conversion);
    if (offerStop) m_view.OfferStop(false);
    m_progressShowsConversion = false;
    return report;
}

}  // namespace songloader
