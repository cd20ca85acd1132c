#pragma once
#include <QChar>
#include <QString>
#include <QStringList>

class QWidget;

// Shared routines the screens call; none keeps state of its own.

// Makes every label of the form transparent and prepares its grids.
void PrepareForm(QWidget *form);
// The label step alone, for windows that have no grids to prepare.
void PrepareLabels(QWidget *form);

// Adds the names of the folder's entries, files and sub-folders alike, except names that
// begin with "."; returns how many names the list then holds. A missing folder adds nothing.
int ListFolder(const QString &path, QStringList &list);

// The upper-case pinyin initial of the text's first first-level GB 2312 character, or " ".
QChar PinyinInitial(const QString &text);
