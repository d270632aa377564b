#pragma once
// The look the program's small fixed dialogs share.
#include <QFont>
#include <QFrame>
#include <QRect>
#include <QWidget>

namespace qm {

// Bold 8-point "MS Sans Serif" (a sans-serif of the platform where that font is missing).
inline QFont DialogFont() {
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSize(8);
    f.setBold(true);
    return f;
}

// A sunken frame around a group of controls.
inline QFrame* MakeBevel(QWidget* parent, const QRect& r) {
    auto* bevel = new QFrame(parent);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(r);
    return bevel;
}

} // namespace qm
