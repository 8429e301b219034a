#include "input/OneClickRule.h"

#include "lookup/CodePage932.h"

namespace input {

bool OneClickRule::keyReleased(bool enter, const QString& text) {
    const bool address = text.contains(QLatin1StringView("http://"));
    if (!enter) {
        enterHeldBack_ = false;
        return false;
    }
    if (enterHeldBack_) {
        enterHeldBack_ = false;
        return !address;
    }
    if (lookup::hasOnlySingleByteCharacters(lookup::toCodePage932(text)))
        return !address;
    enterHeldBack_ = true;
    return false;
}

} // namespace input
