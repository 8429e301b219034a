#pragma once

#include "lookup/QueryEncoding.h"

#include <QString>

namespace lookup {

// The word that goes into a query URL: `text` unchanged for qeRaw, otherwise ASCII.
QString EncodeQueryText(const QString& text, QueryEncoding encoding);

} // namespace lookup
