#include "settings/OptionsStore.h"

namespace settings {

OptionsStore::OptionsStore(QObject* parent) : QObject(parent) {}

template <typename Change> void OptionsStore::update(Change change) {
    Options next = options_;
    change(next);
    if (next == options_)
        return;
    options_ = std::move(next);
    Q_EMIT changed();
}

void OptionsStore::setOptions(const Options& options) {
    update([&](Options& o) { o = options; });
}

void OptionsStore::setSwitch(bool Options::*member, bool on) {
    update([&](Options& o) { o.*member = on; });
}

void OptionsStore::setPriority(ProcessPriority priority) {
    update([&](Options& o) { o.priority = priority; });
}

void OptionsStore::setTextSize(TextSize size) {
    update([&](Options& o) { o.textSize = size; });
}

void OptionsStore::setProxy(quint8 choice, const QString& address) {
    update([&](Options& o) {
        o.proxyChoice = choice;
        o.proxyAddress = address;
    });
}

} // namespace settings
