#pragma once

#include "browser/ExternalProgramPrompt.h"

namespace browser {

// The question in a dialog naming the scheme and the whole address; No is the default.
class ExternalProgramDialog : public ExternalProgramPrompt {
public:
    bool confirmOpening(QWidget* parent, const QUrl& address) override;
};

} // namespace browser
