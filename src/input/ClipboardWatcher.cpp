#include "input/ClipboardWatcher.h"

#include "input/ClipboardSource.h"
#include "input/ZenkakuHankaku.h"

namespace input {

ClipboardWatcher::ClipboardWatcher(ClipboardSource& source, ClipboardWatcherHost& host,
                                   QObject* parent)
    : QObject(parent), source_(source), host_(host) {
    connect(&source_, &ClipboardSource::changed, this, &ClipboardWatcher::WMDrawClipboard);
}

void ClipboardWatcher::kyuushiExecute() {
    _kyuushi = !_kyuushi;
    Q_EMIT pausedChanged(_kyuushi);
}

void ClipboardWatcher::WMDrawClipboard() {
    const ClipboardSource::Content content = source_.read();
    if (content.kind == ClipboardSource::Content::Unreadable) {
        host_.showError(QStringLiteral("クリップボード %1 を開けません").arg(content.reason));
        return;
    }
    if (content.kind != ClipboardSource::Content::Text)
        return;
    if (content.text == host_.searchText() || _kyuushi || _copy_Dame)
        return;
    if (host_.bringWindowForwardOnCopy() && host_.isMinimised())
        host_.MOTO_NI_MODOSHUClick();
    host_.setSearchText(content.text);
    if (host_.turnFullWidthToAscii())
        host_.setSearchText(ZENKAKU_HANKAKU(host_.searchText()));
    if (host_.firstLookupRequested())
        host_._okuru();
    else
        host_.deferFirstLookup();
}

} // namespace input
