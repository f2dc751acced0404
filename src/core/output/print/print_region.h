// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace songloader::print {

class CPage;

// A rectangle on a page that holds its own content: positions given to the page's region
// operations are relative to its content origin and stay inside its right and bottom edges.
class CPrintRegion {
public:
    CPrintRegion() = default;
    virtual ~CPrintRegion() = default;
    CPrintRegion(const CPrintRegion&) = delete;
    CPrintRegion& operator=(const CPrintRegion&) = delete;

    // Fails when the rectangle leaves the page limits; right and bottom are clamped to the
    // state's edges and the rectangle is filled with `fill`.
    virtual bool Create(CPage& page, int top, int left, int right, int bottom, unsigned fill);
    // Text in the top band; the content starts below it.
    virtual void Title(const std::string& text, int size, unsigned flags, unsigned fill);
    virtual void Border();

    int ContentTop() const { return contentTop_; }
    int ContentLeft() const { return contentLeft_; }
    int Top() const { return top_; }
    int Left() const { return left_; }
    int Right() const { return right_; }
    int Bottom() const { return bottom_; }
    unsigned Fill() const { return fill_; }
    CPage* Page() const { return page_; }

    // Region-relative coordinates made absolute and limited to the region's right and bottom.
    int X(int column) const;
    int Y(int row) const;

private:
    int contentTop_ = 0;
    int contentLeft_ = 0;
    int top_ = 0;
    int left_ = 0;
    int right_ = 0;
    int bottom_ = 0;
    unsigned fill_ = 0;
    CPage* page_ = nullptr;
};

}  // namespace songloader::print
