#include "app/open_button.h"

#include <QBitmap>
#include <QPainter>

COpenButton::COpenButton(const QString& imagePath, QWidget* parent) : QAbstractButton(parent) {
    setText(QStringLiteral("open"));
    setCursor(Qt::PointingHandCursor);
    QPixmap image(imagePath);
    if (!image.isNull()) {
        image.setMask(image.createMaskFromColor(QColor(255, 0, 255), Qt::MaskInColor));
        m_image = image;
    }
}

void COpenButton::paintEvent(QPaintEvent*) {
    if (m_image.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_image);
}
