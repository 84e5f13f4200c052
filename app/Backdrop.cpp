#include "Backdrop.h"

#include <QLinearGradient>
#include <QPainter>

namespace zk {

namespace {

QImage drawBackdrop(const QColor& top, const QColor& bottom, const QColor& lines, const QString& name,
                    const QString& subtitle)
{
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, kPictureHeight);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(image.rect(), gradient);

    // Faint radio waves from the lower left corner. The lower part stays
    // light, so the dark text of the password row reads well over it.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(lines, 2));
    for (int r = 60; r < 900; r += 48)
        painter.drawEllipse(QPoint(-40, kPictureHeight + 40), r, r);

    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(64);
    painter.setFont(font);
    painter.drawText(QRect(40, 60, kPictureWidth - 80, 90), Qt::AlignLeft | Qt::AlignVCenter, name);
    font.setBold(false);
    font.setPixelSize(22);
    painter.setFont(font);
    painter.drawText(QRect(44, 150, kPictureWidth - 80, 40), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
    painter.end();
    return image;
}

} // namespace

QImage builtInLoginPicture()
{
    return drawBackdrop(QColor(0x3a, 0x46, 0x52), QColor(0xc4, 0xcc, 0xd4), QColor(255, 255, 255, 40),
                        QStringLiteral("ZK-H41"), QString());
}

QImage defaultBackgroundPicture()
{
    return drawBackdrop(QColor(0x0a, 0x2a, 0x5c), QColor(0xa8, 0xd0, 0xf0), QColor(255, 255, 255, 60),
                        QStringLiteral("ZK-H41"), QStringLiteral("16-channel two-way radio"));
}

} // namespace zk
