#pragma once

#include "settings/Options.h"

#include <QObject>
#include <vector>

class QAction;

namespace settings {
class OptionsStore;
}

namespace app {

class CommandRegistry;

// The checkable actions of the twelve on/off options. They mirror the options store both
// ways: choosing an action changes the option, and a changed option (the settings file read
// at start) moves the check mark.
class OptionActions : public QObject {
    Q_OBJECT
public:
    // Makes the options' actions in commands, as children of parent.
    OptionActions(settings::OptionsStore& store, CommandRegistry& commands, QObject* parent);

private:
    void showOptions();

    settings::OptionsStore& store_;
    std::vector<QAction*> actions_; // in the order of settings::kSwitches
};

} // namespace app
