#pragma once

#include "settings/Options.h"

#include <QObject>
#include <array>

class QAction;

namespace settings {
class OptionsStore;
}

namespace app {

class CommandRegistry;

// The radio actions of the text size (moji_size_*) and the process priority (yuusendo_*).
// Their check marks mirror the options store; choosing one stores it and asks for its effect,
// also when it is the one already checked (choosing "高い" again sets the priority again).
class BrowserOptionActions : public QObject {
    Q_OBJECT
public:
    // Makes the actions in commands, as children of parent.
    BrowserOptionActions(settings::OptionsStore& store, CommandRegistry& commands, QObject* parent);

Q_SIGNALS:
    void textSizeChosen(settings::TextSize size);
    void priorityChosen(settings::ProcessPriority priority);

private:
    QAction* textSizeAction(settings::TextSize size) const;
    QAction* priorityAction(settings::ProcessPriority priority) const;
    void showOptions();

    settings::OptionsStore& store_;
    std::array<QAction*, 4> textSizes_{};  // Small to Max
    std::array<QAction*, 4> priorities_{}; // High, Normal, Idle, RealTime
};

} // namespace app
