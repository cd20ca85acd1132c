#include "directory/dealertile.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

DealerTile::DealerTile(int slot, QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("Image") + QString::number(slot));
    setScaledContents(true);
}

void DealerTile::SetPicture(const QImage &picture, bool clickable, const QString &company)
{
    if (picture.isNull())
        clear();
    else
        setPixmap(QPixmap::fromImage(picture));
    m_clickable = clickable;
    setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    setFocusPolicy(clickable ? Qt::StrongFocus : Qt::NoFocus);
    setToolTip(company);
    setAccessibleName(clickable ? (company.isEmpty() ? QStringLiteral("经销商广告") : company) : QStringLiteral("空广告位"));
}

void DealerTile::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    if (m_clickable)
        emit pressed();
}

void DealerTile::keyPressEvent(QKeyEvent *event)
{
    if (m_clickable && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)) {
        emit pressed();
        return;
    }
    QLabel::keyPressEvent(event);
}
