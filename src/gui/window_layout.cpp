// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/window_layout.h"

#include "core/common/translatable.h"

namespace songloader::gui {

namespace {

constexpr int kMargin = 16;
constexpr int kLeftWidth = 468;  // the form, the cloud rows and the work list
constexpr int kRightX = 500;     // the device list and the output buttons
constexpr int kRightWidth = 484;
constexpr int kLabelWidth = 76;  // painted labels left of the form's boxes
constexpr int kBoxX = kMargin + kLabelWidth + 4;
constexpr int kBoxHeight = 24;
constexpr int kButtonHeight = 33;
constexpr int kGap = 8;

// A button of its image's size whose top edge makes it centred on a box row at `rowY`.
LayoutRect ButtonOnRow(int x, int rowY, int width) {
    return {x, rowY - (kButtonHeight - kBoxHeight) / 2, width, kButtonHeight};
}

WindowLayout Build() {
    WindowLayout layout;
    layout.width = kRightX + kRightWidth + kMargin;
    layout.height = 660;
    auto place = [&](ControlId id, LayoutRect rect) { layout.controls.push_back({id, rect}); };
    auto label = [&](const char* text, ControlId box, int x, int width) {
        const LayoutRect boxRect = PlaceOf(layout, box);
        layout.labels.push_back({text, box, {x, boxRect.y, width, boxRect.height}});
    };

    // Device choice.
    place(ControlId::AutoCheckDevice, {kMargin, 14, 138, kButtonHeight});
    place(ControlId::SelectDevice, {kMargin + 138 + kGap, 14, 103, kButtonHeight});
    place(ControlId::EjectDevice, {kMargin + 138 + kGap + 103 + kGap, 14, 116, kButtonHeight});
    // Two lines high: a long offer of a found drive breaks after the path.
    place(ControlId::SongFolderText, {kBoxX, 50, kLeftWidth - (kBoxX - kMargin), 36});
    label(SL_TRANSLATE_NOOP("WindowLayout", "USB Drive"), ControlId::SongFolderText, kMargin, kLabelWidth);

    // The entry form: one box per row, the language beside the number.
    constexpr int kFormTop = 90;
    constexpr int kRow = 32;
    // Six digits need less than the number box had; the language box takes the room, so its
    // longest item ("ES[Spanish]") shows whole.
    constexpr int kNumberWidth = 86;
    constexpr int kLanguageWidth = 120;
    place(ControlId::Number, {kBoxX, kFormTop, kNumberWidth, kBoxHeight});
    place(ControlId::AutoGenerate, ButtonOnRow(kBoxX + kNumberWidth + kGap, kFormTop, 98));
    place(ControlId::EntryLanguage, {kMargin + kLeftWidth - kLanguageWidth, kFormTop, kLanguageWidth, kBoxHeight});
    const int boxWidth = kLeftWidth - (kBoxX - kMargin);
    place(ControlId::Title, {kBoxX, kFormTop + kRow, boxWidth, kBoxHeight});
    place(ControlId::Artist, {kBoxX, kFormTop + 2 * kRow, boxWidth, kBoxHeight});
    place(ControlId::Composer, {kBoxX, kFormTop + 3 * kRow, boxWidth, kBoxHeight});
    place(ControlId::Lyricist, {kBoxX, kFormTop + 4 * kRow, boxWidth, kBoxHeight});
    place(ControlId::MediaPath, {kBoxX, kFormTop + 5 * kRow, boxWidth - 98 - kGap, kBoxHeight});
    place(ControlId::Browse, ButtonOnRow(kMargin + kLeftWidth - 98, kFormTop + 5 * kRow, 98));
    label(SL_TRANSLATE_NOOP("WindowLayout", "Number"), ControlId::Number, kMargin, kLabelWidth);
    label(SL_TRANSLATE_NOOP("WindowLayout", "Language"), ControlId::EntryLanguage,
          kMargin + kLeftWidth - kLanguageWidth - 70, 66);
    label(SL_TRANSLATE_NOOP("WindowLayout", "Title"), ControlId::Title, kMargin, kLabelWidth);
    label(SL_TRANSLATE_NOOP("WindowLayout", "Artist"), ControlId::Artist, kMargin, kLabelWidth);
    label(SL_TRANSLATE_NOOP("WindowLayout", "Composer"), ControlId::Composer, kMargin, kLabelWidth);
    label(SL_TRANSLATE_NOOP("WindowLayout", "Lyricist"), ControlId::Lyricist, kMargin, kLabelWidth);
    label(SL_TRANSLATE_NOOP("WindowLayout", "Media File"), ControlId::MediaPath, kMargin, kLabelWidth);

    // The form's commands.
    constexpr int kFormButtons = kFormTop + 6 * kRow + 4;
    place(ControlId::QueueToAdd, {kMargin, kFormButtons, 87, kButtonHeight});
    place(ControlId::ClearFields, {kMargin + 87 + kGap, kFormButtons, 87, kButtonHeight});
    place(ControlId::Revise, {kMargin + 2 * (87 + kGap), kFormButtons, 87, kButtonHeight});
    place(ControlId::AddToDevice, {kMargin + kLeftWidth - 116, kFormButtons, 116, kButtonHeight});

    // The cloud: its commands, the search, and the work list below them.
    constexpr int kCloudTop = kFormButtons + kButtonHeight + 20;
    place(ControlId::CloudSongs, {kBoxX, kCloudTop, 87, kButtonHeight});
    place(ControlId::CloudMidi, {kBoxX + 87 + kGap, kCloudTop, 87, kButtonHeight});
    place(ControlId::SelectAll, {kMargin + kLeftWidth - 87, kCloudTop, 87, kButtonHeight});
    label(SL_TRANSLATE_NOOP("WindowLayout", "Cloud"), ControlId::CloudSongs, kMargin, kLabelWidth);
    constexpr int kSearchTop = kCloudTop + kButtonHeight + 10;
    // The hit count ("12 songs", "No songs found") to the right of the search box.
    constexpr int kHitsWidth = 104;
    place(ControlId::SearchLanguage, {kBoxX, kSearchTop, 128, kBoxHeight});
    place(ControlId::SearchBox, {kBoxX + 128 + kGap, kSearchTop, boxWidth - 128 - kHitsWidth - 2 * kGap, kBoxHeight});
    place(ControlId::SearchHits, {kMargin + kLeftWidth - kHitsWidth, kSearchTop, kHitsWidth, kBoxHeight});
    label(SL_TRANSLATE_NOOP("WindowLayout", "Search"), ControlId::SearchLanguage, kMargin, kLabelWidth);
    constexpr int kWorkTop = kSearchTop + kBoxHeight + 10;
    place(ControlId::WorkList, {kMargin, kWorkTop, kLeftWidth, layout.height - kMargin - kWorkTop});

    // The device: its list, the progress bar and the output commands.
    constexpr int kOutputTop = 660 - kMargin - kButtonHeight;
    // Under the list, the device's song count and free space.
    constexpr int kSummaryHeight = 20;
    place(ControlId::DeviceList, {kRightX, 14, kRightWidth, kOutputTop - 14 - 34 - kSummaryHeight - 2});
    place(ControlId::DeviceSummary, {kRightX, kOutputTop - 32 - kSummaryHeight, kRightWidth, kSummaryHeight});
    place(ControlId::Progress, {kRightX, kOutputTop - 26, kRightWidth, 18});
    place(ControlId::PrintPreview, {kRightX, kOutputTop, 87, kButtonHeight});
    place(ControlId::Print, {kRightX + 87 + kGap, kOutputTop, 87, kButtonHeight});
    place(ControlId::ExportSongList, {kRightX + kRightWidth - 109, kOutputTop, 109, kButtonHeight});
    return layout;
}

LayoutRect Scaled(const LayoutRect& rect, int numerator, int denominator) {
    return {rect.x * numerator / denominator, rect.y * numerator / denominator, rect.width * numerator / denominator,
            rect.height * numerator / denominator};
}

}  // namespace

const WindowLayout& MainWindowLayout() {
    static const WindowLayout layout = Build();
    return layout;
}

LayoutRect PlaceOf(const WindowLayout& layout, ControlId id) {
    for (const ControlPlace& place : layout.controls) {
        if (place.id == id) return place.rect;
    }
    return {};
}

WindowLayout ScaledLayout(const WindowLayout& layout, int numerator, int denominator) {
    WindowLayout scaled;
    scaled.width = layout.width * numerator / denominator;
    scaled.height = layout.height * numerator / denominator;
    for (const ControlPlace& place : layout.controls) {
        scaled.controls.push_back({place.id, Scaled(place.rect, numerator, denominator)});
    }
    for (const FieldLabel& label : layout.labels) {
        scaled.labels.push_back({label.text, label.box, Scaled(label.rect, numerator, denominator)});
    }
    return scaled;
}

}  // namespace songloader::gui
