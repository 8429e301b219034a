#include "app/menus/OptionActions.h"

#include "settings/OptionsStore.h"

#include <QAction>

namespace app {

namespace {

std::vector<settings::Switch> everySwitch() {
    std::vector<settings::Switch> switches(settings::kSwitches.begin(), settings::kSwitches.end());
    for (const settings::ConfigSwitch& stored : settings::kConfigSwitches)
        switches.push_back(stored.option);
    return switches;
}

} // namespace

OptionActions::OptionActions(settings::OptionsStore& store, QObject* parent)
    : QObject(parent), store_(store), switches_(everySwitch()) {
    for (const settings::Switch& option : switches_) {
        auto* action = new QAction(QString::fromUtf8(option.caption), parent);
        action->setObjectName(QString::fromLatin1(option.actionName));
        action->setCheckable(true);
        action->setChecked(store_.options().*option.member);
        connect(action, &QAction::toggled, this,
                [this, member = option.member](bool on) { store_.setSwitch(member, on); });
        actions_.push_back(action);
    }
    connect(&store_, &settings::OptionsStore::changed, this, &OptionActions::showOptions);
}

QAction* OptionActions::action(bool settings::Options::*member) const {
    for (std::size_t i = 0; i < switches_.size(); ++i)
        if (switches_[i].member == member)
            return actions_[i];
    return nullptr;
}

void OptionActions::showOptions() {
    for (std::size_t i = 0; i < switches_.size(); ++i)
        actions_[i]->setChecked(store_.options().*switches_[i].member);
}

} // namespace app
