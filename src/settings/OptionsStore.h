#pragma once

#include "settings/Options.h"

#include <QObject>

namespace settings {

// Holds the program's options and tells whoever mirrors them (actions, menus, the tab
// manager's readers) when any of them changed.
class OptionsStore : public QObject {
    Q_OBJECT
public:
    explicit OptionsStore(QObject* parent = nullptr);

    const Options& options() const { return options_; }

    // Replaces every option at once, as the settings file's reader does.
    void setOptions(const Options& options);
    void setSwitch(bool Options::*member, bool on);
    void setPriority(ProcessPriority priority);
    void setTextSize(TextSize size);
    void setProxy(quint8 choice, const QString& address);

Q_SIGNALS:
    void changed();

private:
    template <typename Change> void update(Change change);

    Options options_;
};

} // namespace settings
