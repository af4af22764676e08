// The window's pictures, drawn in code so that they are sharp at any
// scale and need no image plug-in: the two flags, our logo and the icon.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace ftvb::ui::qt {

QPixmap unitedStatesFlag(QSize size, qreal pixelRatio);
QPixmap frenchFlag(QSize size, qreal pixelRatio);
QPixmap logo(QSize size, qreal pixelRatio);
QIcon appIcon();

}  // namespace ftvb::ui::qt
