#include "app/menus/BrowserOptionActions.h"

#include "settings/OptionsStore.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace app {

using settings::ProcessPriority;
using settings::TextSize;

namespace {

struct RadioEntry {
    const char* name;
    const char* caption;
    const char* label; // in the menu, with its accelerator
};

constexpr RadioEntry kTextSizes[] = {
    {"moji_size_syou", "小", "小(&Z)"},
    {"moji_size_tyuu", "中", "中(&Y)"},
    {"moji_size_dai", "大（標準）", "大（標準）(&X)"},
    {"moji_size_max", "最大", "最大(&W)"},
};

// In the order of settings::ProcessPriority; the tag is each one's number.
constexpr RadioEntry kPriorities[] = {
    {"yuusendo_takai", "高い", "高い(&Z)"},
    {"yuusendo_hutuu", "普通", "普通(&Y)"},
    {"yuusendo_hikui", "低い", "低い(&X)"},
    {"yuusendo_RealTime", "リアルタイム", "リアルタイム(&W)"},
};

int textSizeIndex(TextSize size) {
    return static_cast<int>(size) - 1;
}

QMenu* radioMenu(const QString& title, const std::array<QAction*, 4>& actions,
                 const RadioEntry (&entries)[4], QWidget* parent) {
    auto* menu = new QMenu(title, parent);
    // Exclusive like the actions, so that choosing the checked item again leaves it checked.
    auto* items = new QActionGroup(menu);
    items->setExclusive(true);
    for (std::size_t i = 0; i < actions.size(); ++i) {
        // The menu shows the entry with its accelerator; the action keeps its caption.
        QAction* item = menu->addAction(QString::fromUtf8(entries[i].label));
        item->setObjectName(actions[i]->objectName() + QStringLiteral("_MenuItem"));
        item->setCheckable(true);
        item->setChecked(actions[i]->isChecked());
        items->addAction(item);
        QObject::connect(item, &QAction::triggered, actions[i], &QAction::trigger);
        QObject::connect(actions[i], &QAction::toggled, item, &QAction::setChecked);
    }
    return menu;
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

void BrowserOptionActions::addToSettingsMenu(QMenu* settingsMenu, QAction* toolbarAction) const {
    QWidget* parent = settingsMenu;
    const QList<QAction*> existing = settingsMenu->actions();
    QAction* first = existing.value(0);
    // At the top: the text size, the toolbar, a separator.
    QMenu* sizes = radioMenu(QStringLiteral("文字の大きさ(&Z)"), textSizes_, kTextSizes, parent);
    sizes->menuAction()->setObjectName(QStringLiteral("moji_size_Menu"));
    settingsMenu->insertMenu(first, sizes);
    auto* toolbarItem = new QAction(QStringLiteral("ツールバーの表示(&Y)"), settingsMenu);
    toolbarItem->setObjectName(toolbarAction->objectName() + QStringLiteral("_MenuItem"));
    toolbarItem->setCheckable(true);
    toolbarItem->setChecked(toolbarAction->isChecked());
    connect(toolbarItem, &QAction::triggered, toolbarAction, &QAction::trigger);
    connect(toolbarAction, &QAction::toggled, toolbarItem, &QAction::setChecked);
    settingsMenu->insertAction(first, toolbarItem);
    settingsMenu->insertSeparator(first);

    // Before the last group (the full-width option): the priority and a separator.
    QAction* lastGroup = nullptr;
    for (QAction* a : existing)
        if (a->isSeparator())
            lastGroup = a;
    QMenu* priorities = radioMenu(
        QStringLiteral("Lexorra2の優先度を変える（他のクリップボードを使うソフトと相性が悪い場合、"
                       "変更してください)(&T)"),
        priorities_, kPriorities, parent);
    priorities->menuAction()->setObjectName(QStringLiteral("yuusendo_Menu"));
    if (lastGroup) {
        settingsMenu->insertMenu(lastGroup, priorities);
        settingsMenu->insertSeparator(priorities->menuAction());
    } else {
        settingsMenu->addSeparator();
        settingsMenu->addMenu(priorities);
    }
}

} // namespace app
