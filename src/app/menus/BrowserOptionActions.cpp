#include "app/menus/BrowserOptionActions.h"

#include "settings/OptionsStore.h"

#include <QAction>
#include <QActionGroup>

namespace app {

using settings::ProcessPriority;
using settings::TextSize;

namespace {

// The menu table gives each its label with an accelerator.
struct RadioEntry {
    const char* name;
    const char* caption;
};

constexpr RadioEntry kTextSizes[] = {
    {"moji_size_syou", "小"},
    {"moji_size_tyuu", "中"},
    {"moji_size_dai", "大（標準）"},
    {"moji_size_max", "最大"},
};

// In the order of settings::ProcessPriority; the tag is each one's number.
constexpr RadioEntry kPriorities[] = {
    {"yuusendo_takai", "高い"},
    {"yuusendo_hutuu", "普通"},
    {"yuusendo_hikui", "低い"},
    {"yuusendo_RealTime", "リアルタイム"},
};

int textSizeIndex(TextSize size) {
    return static_cast<int>(size) - 1;
}

} // namespace

BrowserOptionActions::BrowserOptionActions(settings::OptionsStore& store, QObject* parent)
    : QObject(parent), store_(store) {
    auto makeGroup = [&](std::array<QAction*, 4>& actions, const RadioEntry(&entries)[4],
                         auto choose) {
        auto* group = new QActionGroup(this);
        group->setExclusive(true);
        for (int i = 0; i < 4; ++i) {
            auto* action = new QAction(QString::fromUtf8(entries[i].caption), parent);
            action->setObjectName(QString::fromLatin1(entries[i].name));
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
