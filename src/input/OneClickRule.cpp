#include "input/OneClickRule.h"

#include "lookup/CodePage932.h"

namespace input {

bool OneClickRule::keyUp(bool enter, const QString& text) {
    const bool address = text.contains(QLatin1StringView("http://"));
    if (!enter) {
        one_click = false;
        return false;
    }
    if (one_click) {
        one_click = false;
        return !address;
    }
    if (lookup::OnlySingleByte(lookup::toCodePage932(text)))
        return !address;
    one_click = true;
    return false;
}

} // namespace input
