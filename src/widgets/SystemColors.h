#pragma once

#include <QColor>

namespace tx {

// The few desktop colours the drawn widgets use. They are the fixed values of the Windows
// classic scheme rather than the running desktop's theme, so the widgets look the same on
// every desktop and pixel checks are deterministic: button highlight white 255,255,255,
// button shadow 128,128,128, grey text 109,109,109, button face 212,208,200.
enum class SystemColor { BtnFace, BtnHighlight, BtnShadow, GrayText };

constexpr QRgb systemRgb(SystemColor c) {
    switch (c) {
    case SystemColor::BtnFace:
        return qRgb(212, 208, 200);
    case SystemColor::BtnHighlight:
        return qRgb(255, 255, 255);
    case SystemColor::BtnShadow:
        return qRgb(128, 128, 128);
    case SystemColor::GrayText:
        return qRgb(109, 109, 109);
    }
    return qRgb(0, 0, 0);
}

inline QColor systemColor(SystemColor c) {
    return QColor::fromRgb(systemRgb(c));
}

} // namespace tx
