// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The colours every piece of artwork shares, so buttons and icon look like one family.
namespace artwork::palette {

inline const QColor kBlueTop{0x4a, 0x8b, 0xe8};
inline const QColor kBlueBottom{0x1d, 0x4f, 0xa3};
inline const QColor kBlueEdge{0x14, 0x38, 0x78};
inline const QColor kGreenTop{0x3c, 0xb8, 0x78};
inline const QColor kGreenBottom{0x1b, 0x7a, 0x4a};
inline const QColor kGreenEdge{0x12, 0x5a, 0x36};
inline const QColor kSilverTop{0xf8, 0xfa, 0xfc};
inline const QColor kSilverBottom{0xc4, 0xcd, 0xd8};
inline const QColor kSteel{0x8a, 0x97, 0xa8};
inline const QColor kWhite{0xff, 0xff, 0xff};
inline const QColor kTextShadow{0x08, 0x1c, 0x40, 0x90};

}  // namespace artwork::palette
