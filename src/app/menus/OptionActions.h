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

// The checkable actions of the on/off options (the settings file's twelve and the
// configuration file's). They mirror the options store both
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
    std::vector<bool settings::Options::*> members_;
    std::vector<QAction*> actions_; // in the order of members_
};

} // namespace app
