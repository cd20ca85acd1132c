#pragma once
#include <QDateEdit>
#include <QTimeEdit>

// A date or time picker that Tab and Shift+Tab leave, as every other field. Qt's own walk
// through the picker's sections instead, so a number typed after Tab went into the date.
// The arrow keys and the separators still move between the sections.
template <class Picker>
class LeavingOnTab : public Picker {
public:
    using Picker::Picker;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

using DatePicker = LeavingOnTab<QDateEdit>;
using TimePicker = LeavingOnTab<QTimeEdit>;
