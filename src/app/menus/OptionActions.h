#pragma once

#include "settings/Options.h"

#include <QObject>
#include <vector>

class QAction;

namespace settings {
class OptionsStore;
}

namespace app {

// The checkable actions of the on/off options (the settings file's twelve and the
// configuration file's). They mirror the options store both
// ways: choosing an action changes the option, and a changed option (the settings file read
// at start) moves the check mark.
class OptionActions : public QObject {
    Q_OBJECT
public:
    OptionActions(settings::OptionsStore& store, QObject* parent);

    QAction* action(bool settings::Options::*member) const;

private:
    void showOptions();

    settings::OptionsStore& store_;
    std::vector<settings::Switch> switches_;
    std::vector<QAction*> actions_; // in the order of switches_
};

} // namespace app
