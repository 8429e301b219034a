#pragma once

#include "browser/TTabSheet.h"
#include "browser/WebBrowser.h"

#include <QPointer>

namespace browser {

// A tab page that owns exactly one browser, with the history and busy state that the
// browser last reported.
class TTabSheetEx : public TTabSheet {
    Q_OBJECT
public:
    explicit TTabSheetEx(QWidget* parent = nullptr);
    ~TTabSheetEx() override;

    QPointer<WebBrowser> EWB; // created with the page as a child of it
    bool CanBack = false;
    bool CanForward = false;
    bool CanStop = false;
};

} // namespace browser
