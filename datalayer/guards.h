#pragma once
#include "datalayer/dberror.h"
#include "datalayer/dialogs.h"
#include "datalayer/numbertext.h"

#include <exception>

// A handler's edge: an error shows in the standard error box and ends the event; Qt never
// sees an exception leave a slot.
template <class F>
void Guarded(QWidget *owner, F &&handler)
{
    try {
        handler();
    } catch (const DbError &e) {
        Dialogs::ShowError(owner, e.text());
    } catch (const ConvertError &e) {
        Dialogs::ShowError(owner, e.text());
    } catch (const std::exception &e) {
        Dialogs::ShowError(owner, QString::fromUtf8(e.what()));
    }
}

// The silent guard of row loading and some filters: an error stops the work without a word.
template <class F>
void Silently(F &&work)
{
    try {
        work();
    } catch (const std::exception &) {
    }
}
