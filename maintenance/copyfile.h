#pragma once
#include <QString>
#include <functional>

// Copies source to target in blocks of 2048 bytes, reporting progress as the exit backup
// shows it: part × (bytes done before the block × 100 ÷ size) ÷ 4 while copying, then 100.
// The copy goes to a temporary file beside the target, which replaces the target only when
// every byte was written, so a failed copy never leaves a truncated file under the target's name.
// Gives an empty text on success, else the error message.
QString CopyFileWithProgress(const QString &source, const QString &target, int part,
                             const std::function<void(int)> &progress);

// The message for a system error number, as the old runtime worded its I/O errors.
QString IoErrorText(int code);
