#include "app/menus/BrowserOptionActions.h"

#include "app/menus/CommandRegistry.h"
#include "settings/OptionsStore.h"

#include <QAction>
#include <QActionGroup>

namespace app {

using settings::ProcessPriority;
using settings::TextSize;

namespace {

// Small to Max.
constexpr Command kTextSizes[] = {Command::TextSizeSmall, Command::TextSizeMedium,
                                  Command::TextSizeLarge, Command::TextSizeMax};

// In the order of settings::ProcessPriority; the tag is each one's number.
constexpr Command kPriorities[] = {Command::PriorityHigh, Command::PriorityNormal,
                                   Command::PriorityIdle, Command::PriorityRealTime};

int textSizeIndex(TextSize size) {
    return static_cast<int>(size) - 1;
}

} // namespace

BrowserOptionActions::BrowserOptionActions(settings::OptionsStore& store, CommandRegistry& commands,
                                           QObject* parent)
    : QObject(parent), store_(store) {
    auto makeGroup = [&](std::array<QAction*, 4>& actions, const Command(&entries)[4],
                         auto choose) {
        auto* group = new QActionGroup(this);
        group->setExclusive(true);
        for (int i = 0; i < 4; ++i) {
            QAction* action = commands.make(entries[i], parent);
            action->setCheckable(true);
            action->setData(i);
            group->addAction(action);
            connect(action, &QAction::triggered, this, [choose, i] { choose(i); });
            actions[i] = action;
        }
    };
    makeGroup(textSizes_, kTextSizes, [this](int i) {
        const auto size = static_cast<TextSize>(i + 1);
        store_.setTextSize(size);
        Q_EMIT textSizeChosen(size);
    });
    makeGroup(priorities_, kPriorities, [this](int i) {
        const auto priority = static_cast<ProcessPriority>(i);
        store_.setPriority(priority);
        Q_EMIT priorityChosen(priority);
    });
    showOptions();
    connect(&store_, &settings::OptionsStore::changed, this, &BrowserOptionActions::showOptions);
}

QAction* BrowserOptionActions::textSizeAction(TextSize size) const {
    return textSizes_[textSizeIndex(size)];
}

QAction* BrowserOptionActions::priorityAction(ProcessPriority priority) const {
    return priorities_[static_cast<int>(priority)];
}

void BrowserOptionActions::showOptions() {
    textSizeAction(store_.options().textSize)->setChecked(true);
    priorityAction(store_.options().priority)->setChecked(true);
}

} // namespace app
