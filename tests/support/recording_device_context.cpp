// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/recording_device_context.h"

#include <algorithm>
#include <cstdlib>

namespace songloader::testing {

using namespace print;

namespace {

int CountCharacters(std::string_view text, bool expandTabs) {
    int count = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) == 0x80) continue;  // UTF-8 continuation byte
        count += (expandTabs && c == '\t') ? 8 : 1;
    }
    return count;
}

}  // namespace

RecordingDeviceContext::RecordingDeviceContext(int ppiX, int ppiY, int orientation)
    : ppiX_(ppiX), ppiY_(ppiY), orientation_(orientation) {}

std::vector<RecordedCall> RecordingDeviceContext::Calls(std::string_view name) const {
    std::vector<RecordedCall> found;
    for (const RecordedCall& call : calls)
        if (call.name == name) found.push_back(call);
    return found;
}

std::vector<std::string> RecordingDeviceContext::DrawnTexts() const {
    std::vector<std::string> texts;
    for (const RecordedCall& call : calls)
        if (call.name == "DrawText") texts.push_back(call.text);
    return texts;
}

int RecordingDeviceContext::LineHeight(const LogFont& font) {
    int height = std::abs(font.height);
    return height == 0 ? 16 : height;
}

int RecordingDeviceContext::CharWidth(const LogFont& font) { return std::max(1, LineHeight(font) / 2); }

int RecordingDeviceContext::TextWidth(const LogFont& font, std::string_view text) {
    return CountCharacters(text, false) * CharWidth(font);
}

int RecordingDeviceContext::GetDeviceCaps(int index) const {
    switch (index) {
        case kCapLogPixelsX: return ppiX_;
        case kCapLogPixelsY: return ppiY_;
        default: return 0;
    }
}

RecordedCall RecordingDeviceContext::Snapshot(std::string name) const {
    RecordedCall call;
    call.name = std::move(name);
    call.font = DeviceFont();
    call.pen = DevicePen();
    call.brush = CurrentBrush();
    call.bkMode = GetBkMode();
    call.textColour = GetTextColor();
    return call;
}

void RecordingDeviceContext::Record(std::string name, std::vector<int> args) {
    RecordedCall call = Snapshot(std::move(name));
    call.args = std::move(args);
    calls.push_back(std::move(call));
}

int RecordingDeviceContext::SetMapMode(int mode) {
    Record("SetMapMode", {mode});
    return MappedDeviceContext::SetMapMode(mode);
}

Point RecordingDeviceContext::SetWindowOrg(Point p) {
    Record("SetWindowOrg", {p.x, p.y});
    return MappedDeviceContext::SetWindowOrg(p);
}

Point RecordingDeviceContext::SetWindowExt(Point p) {
    Record("SetWindowExt", {p.x, p.y});
    return MappedDeviceContext::SetWindowExt(p);
}

Point RecordingDeviceContext::SetViewportOrg(Point p) {
    Record("SetViewportOrg", {p.x, p.y});
    return MappedDeviceContext::SetViewportOrg(p);
}

Point RecordingDeviceContext::SetViewportExt(Point p) {
    Record("SetViewportExt", {p.x, p.y});
    return MappedDeviceContext::SetViewportExt(p);
}

int RecordingDeviceContext::SaveDC() {
    int level = MappedDeviceContext::SaveDC();
    Record("SaveDC", {level});
    return level;
}

bool RecordingDeviceContext::RestoreDC(int level) {
    Record("RestoreDC", {level});
    return MappedDeviceContext::RestoreDC(level);
}

LogFont RecordingDeviceContext::SelectFont(const LogFont& font) {
    LogFont previous = MappedDeviceContext::SelectFont(font);
    Record("SelectFont", {font.height, font.weight});
    return previous;
}

Pen RecordingDeviceContext::SelectPen(const Pen& pen) {
    Pen previous = MappedDeviceContext::SelectPen(pen);
    Record("SelectPen", {static_cast<int>(pen.style), pen.width});
    return previous;
}

Brush RecordingDeviceContext::SelectBrush(Brush brush) {
    Brush previous = MappedDeviceContext::SelectBrush(brush);
    Record("SelectBrush", {static_cast<int>(brush)});
    return previous;
}

int RecordingDeviceContext::SetBkMode(int mode) {
    Record("SetBkMode", {mode});
    return MappedDeviceContext::SetBkMode(mode);
}

Colour RecordingDeviceContext::SetTextColor(Colour colour) {
    Record("SetTextColor", {static_cast<int>(colour)});
    return MappedDeviceContext::SetTextColor(colour);
}

std::vector<std::string> RecordingDeviceContext::Lines(std::string_view text, int width, unsigned format) const {
    std::vector<std::string> lines;
    if (format & kDtSingleLine) {
        lines.emplace_back(text);
        return lines;
    }
    LogFont font = DeviceFont();
    std::string current;
    std::size_t i = 0;
    while (i <= text.size()) {
        if (i == text.size() || text[i] == '\n') {
            lines.push_back(current);
            current.clear();
            ++i;
            continue;
        }
        std::size_t end = text.find_first_of(" \n", i);
        if (end == std::string_view::npos) end = text.size();
        std::string word(text.substr(i, end - i));
        std::string candidate = current.empty() ? word : current + " " + word;
        if (!current.empty() && (format & kDtWordBreak) && TextWidth(font, candidate) > width) {
            lines.push_back(current);
            current = word;
        } else {
            current = candidate;
        }
        i = end;
        if (i < text.size() && text[i] == ' ') ++i;
    }
    return lines;
}

int RecordingDeviceContext::DeviceDrawText(std::string_view text, Rect& rect, unsigned format) {
    LogFont font = DeviceFont();
    int lineHeight = LineHeight(font);
    std::vector<std::string> lines = Lines(text, rect.Width(), format);
    int width = 0;
    for (const std::string& line : lines)
        width = std::max(width, CountCharacters(line, format & kDtExpandTabs) * CharWidth(font));
    int height = static_cast<int>(lines.size()) * lineHeight;

    RecordedCall call = Snapshot((format & kDtCalcRect) ? "MeasureText" : "DrawText");
    call.text = std::string(text);
    call.rect = rect;
    call.format = format;
    if (format & kDtCalcRect) {
        rect.right = rect.left + width;
        rect.bottom = rect.top + height;
    } else {
        Rect ink{rect.left, rect.top, rect.left + width, rect.top + height};
        if (format & kDtCenter) ink.left = rect.left + (rect.Width() - width) / 2;
        else if (format & kDtRight) ink.left = rect.right - width;
        ink.right = ink.left + width;
        if (format & kDtSingleLine) {
            if (format & kDtVCenter) ink.top = rect.top + (rect.Height() - height) / 2;
            else if (format & kDtBottom) ink.top = rect.bottom - height;
            ink.bottom = ink.top + height;
        }
        if (!(format & kDtNoClip)) {
            ink.left = std::max(ink.left, rect.left);
            ink.top = std::max(ink.top, rect.top);
            ink.right = std::min(ink.right, rect.right);
            ink.bottom = std::min(ink.bottom, rect.bottom);
        }
        call.ink = ink;
    }
    calls.push_back(std::move(call));
    return height;
}

TextMetrics RecordingDeviceContext::DeviceTextMetrics() const {
    LogFont font = DeviceFont();
    TextMetrics m;
    m.height = LineHeight(font);
    m.ascent = m.height * 4 / 5;
    m.descent = m.height - m.ascent;
    m.aveCharWidth = CharWidth(font);
    m.maxCharWidth = m.height;
    m.weight = font.weight;
    return m;
}

void RecordingDeviceContext::DeviceRectangle(const Rect& rect) {
    RecordedCall call = Snapshot("Rectangle");
    call.rect = rect;
    calls.push_back(std::move(call));
}

namespace {

Rect Bounds(std::span<const Point> points) {
    if (points.empty()) return {};
    Rect r{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

}  // namespace

void RecordingDeviceContext::DevicePolygon(std::span<const Point> points) {
    RecordedCall call = Snapshot("Polygon");
    call.points.assign(points.begin(), points.end());
    call.rect = Bounds(points);
    calls.push_back(std::move(call));
}

void RecordingDeviceContext::DevicePolyline(std::span<const Point> points) {
    RecordedCall call = Snapshot("Polyline");
    call.points.assign(points.begin(), points.end());
    call.rect = Bounds(points);
    calls.push_back(std::move(call));
}

void RecordingDeviceContext::DeviceFillRect(const Rect& rect, Brush brush) {
    RecordedCall call = Snapshot("FillRect");
    call.rect = rect;
    call.brush = brush;
    calls.push_back(std::move(call));
}

int RecordingDeviceContext::DeviceStretchDIBits(const Rect& destination, const Rect& source, const Dib& dib) {
    RecordedCall call = Snapshot("StretchDIBits");
    call.rect = destination;
    call.args = {source.left, source.top, source.right, source.bottom};
    call.dibWidth = dib.header.width;
    call.dibHeight = dib.header.height;
    call.dibBitCount = dib.header.bitCount;
    calls.push_back(std::move(call));
    return dib.header.height < 0 ? -dib.header.height : dib.header.height;
}

}  // namespace songloader::testing
