#pragma once
#include <QString>

class QLabel;
class QWidget;

// A caption's text as a name: without the "&" of its shortcut and without outer blanks.
QString LabelName(const QString &caption);

// The label names its control: it becomes the label's buddy (Alt+shortcut focuses it) and its
// accessible name is the caption's text, so assistive tools find the control by its label.
void LabelFor(QLabel *label, QWidget *control);

// A control without a label is named by its role ("备注", "查询内容"). An editable choice
// box's or a picker's own edit line gets the same name.
void NameFor(QWidget *control, const QString &role);
