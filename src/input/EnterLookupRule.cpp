#include "input/EnterLookupRule.h"

#include "lookup/CodePage932.h"

#include <Qt>

namespace input {

namespace {

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool hasDoubleByteCharacter(const QString& text) {
    return !lookup::hasOnlySingleByteCharacters(lookup::toCodePage932(text));
}

} // namespace

void EnterLookupRule::keyPressed(int key) {
    if (!pressed_.contains(key))
        pressed_.append(key);
}

bool EnterLookupRule::keyReleased(int key, const QString& text) {
    if (!pressed_.removeOne(key))
        return false;
    const bool address = text.contains(QLatin1StringView("http://"));
    if (!isEnter(key)) {
        enterHeldBack_ = false;
        return false;
    }
    if (enterHeldBack_) {
        enterHeldBack_ = false;
        return !address;
    }
    if (!hasDoubleByteCharacter(text))
        return !address;
    enterHeldBack_ = true;
    return false;
}

void EnterLookupRule::textCommitted(const QString& committed) {
    // An empty commit only ends a preedit; single-byte text passed through the input method
    // is typing, like any other key.
    if (!committed.isEmpty())
        enterHeldBack_ = hasDoubleByteCharacter(committed);
}

void EnterLookupRule::focusLost() {
    pressed_.clear();
}

} // namespace input
