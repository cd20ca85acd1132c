#pragma once
#include <QString>
#include <stdexcept>

// A mail call used wrongly (no sender, no recipient, not connected); the text says which.
class MailError : public std::runtime_error {
public:
    explicit MailError(const QString &text) : std::runtime_error(text.toStdString()) {}
};
