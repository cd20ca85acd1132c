#pragma once
#include <QLabel>

// One tile of the wall, named "Image" followed by its slot number, showing its picture
// stretched. A tile with a card opens it on a mouse press (or Enter or Space when focused).
class DealerTile : public QLabel {
    Q_OBJECT
public:
    DealerTile(int slot, QWidget *parent = nullptr);

    void SetPicture(const QImage &picture, bool clickable, const QString &company);
    bool Clickable() const { return m_clickable; }

signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_clickable = false;
};
