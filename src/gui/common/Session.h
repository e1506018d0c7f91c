#pragma once
// The running session: the open catalogue (albums, roots, filters,
// selections, view list, file name and modified mark) and the settings.  The
// application object owns the one session; windows and controllers receive it
// at construction and hear of changes through `changed`.
#include <QObject>

#include "core/Settings.h"
#include "views/Catalogue.h"

class TSession : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    TCatalogue Catalogue;
    TSettings Settings;

    // A change the list file stores: the list is marked modified and the
    // windows are told, so that nothing is lost at exit.
    void MarkModified() {
        Catalogue.ListModified = true;
        emit changed();
    }
    // Any other change the windows should show (a new file name, a rescan).
    void NotifyChanged() { emit changed(); }

  signals:
    void changed();
};
