#pragma once
#include "datalayer/dialogs.h"
#include "datalayer/inifile.h"

// A choice config.ini could not take is reported, so the user knows it will not last.
inline void ReportUnsaved(QWidget *owner, const IniFile &ini, bool written)
{
    if (!written)
        Dialogs::ShowError(owner, QStringLiteral("无法保存设置: ") + ini.FileName());
}
