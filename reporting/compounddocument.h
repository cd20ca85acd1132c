#pragma once
#include <QByteArray>
#include <QString>

// The compound document file (the container of Excel 97 workbooks) holding one stream
// under the root storage. Streams shorter than 4096 bytes are padded with zeros, so they
// live in normal sectors and no mini stream is needed.
QByteArray CompoundDocument(const QString &streamName, QByteArray stream);
