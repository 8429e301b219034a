#include "app/menus/OptionActions.h"

#include "settings/OptionsStore.h"

#include <QAction>

namespace app {

OptionActions::OptionActions(settings::OptionsStore& store, QObject* parent)
    : QObject(parent), store_(store) {
    for (const settings::Switch& option : settings::kSwitches) {
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
    for (std::size_t i = 0; i < settings::kSwitches.size(); ++i)
        if (settings::kSwitches[i].member == member)
            return actions_[i];
    return nullptr;
}

void OptionActions::showOptions() {
    for (std::size_t i = 0; i < settings::kSwitches.size(); ++i)
        actions_[i]->setChecked(store_.options().*settings::kSwitches[i].member);
}

} // namespace app
