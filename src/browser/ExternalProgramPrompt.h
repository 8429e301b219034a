#pragma once

#include <QUrl>

class QWidget;

namespace browser {

// Asks the user whether an address a page's link leads to may be handed to another program.
class ExternalProgramPrompt {
public:
    virtual ~ExternalProgramPrompt();
    // True only when the user agreed; parent is the browser whose page asked.
    virtual bool confirmOpening(QWidget* parent, const QUrl& address) = 0;
};

} // namespace browser
