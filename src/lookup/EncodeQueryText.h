#pragma once

#include "lookup/QueryEncoding.h"

#include <QString>

namespace lookup {

// The word that goes into a query URL: `text` unchanged for Raw, otherwise ASCII.
QString encodeQueryText(const QString& text, QueryEncoding encoding);

} // namespace lookup
