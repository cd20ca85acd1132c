#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG pictures are decoded and encoded with libjpeg itself; a broken file gives a null image.
QImage DecodeJpeg(const QByteArray &bytes);
QImage LoadJpeg(const QString &path);
QByteArray EncodeJpeg(const QImage &image, int quality = 85);
