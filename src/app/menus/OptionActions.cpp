#include "app/menus/OptionActions.h"

#include "app/menus/CommandRegistry.h"
#include "settings/OptionsStore.h"

#include <QAction>
#include <stdexcept>
#include <utility>

namespace app {

namespace {

using settings::Options;

constexpr std::pair<bool Options::*, Command> kSwitchCommands[] = {
    {&Options::showToolbar, Command::ShowToolbar},
    {&Options::bringForwardOnCopy, Command::BringForwardOnCopy},
    {&Options::minimiseAtStart, Command::MinimiseAtStart},
    {&Options::raiseWithF12, Command::RaiseWithF12},
    {&Options::pauseWithEnd, Command::PauseWithEnd},
    {&Options::closeButtonMinimises, Command::CloseButtonMinimises},
    {&Options::newTabPerSearch, Command::NewTabPerSearch},
    {&Options::minimiseWhenInactive, Command::MinimiseWhenInactive},
    {&Options::fullWidthToAscii, Command::FullWidthToAscii},
    {&Options::limitTextLength, Command::LimitTextLength},
    {&Options::ignoreMixedWidth, Command::IgnoreMixedWidth},
    {&Options::ignoreSymbols, Command::IgnoreSymbols},
    {&Options::lookUpSelection, Command::LookUpSelection},
};

Command commandOf(bool Options::*member) {
    for (const auto& [m, command] : kSwitchCommands)
        if (m == member)
            return command;
    throw std::logic_error("an on/off option without a command");
}

// The settings file's switches, then the configuration file's.
std::vector<bool Options::*> everySwitch() {
    std::vector<bool Options::*> members;
    for (const settings::Switch& option : settings::kSwitches)
        members.push_back(option.member);
    for (const settings::ConfigSwitch& stored : settings::kConfigSwitches)
        members.push_back(stored.option.member);
    return members;
}

} // namespace

OptionActions::OptionActions(settings::OptionsStore& store, CommandRegistry& commands,
                             QObject* parent)
    : QObject(parent), store_(store), members_(everySwitch()) {
    for (bool Options::*member : members_) {
        QAction* action = commands.make(commandOf(member), parent);
        action->setCheckable(true);
        action->setChecked(store_.options().*member);
        connect(action, &QAction::toggled, this,
                [this, member](bool on) { store_.setSwitch(member, on); });
        actions_.push_back(action);
    }
    connect(&store_, &settings::OptionsStore::changed, this, &OptionActions::showOptions);
}

void OptionActions::showOptions() {
    for (std::size_t i = 0; i < members_.size(); ++i)
        actions_[i]->setChecked(store_.options().*members_[i]);
}

} // namespace app
