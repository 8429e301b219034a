#pragma once

namespace lookup {

// How the search text becomes the word inside a site's query URL.
enum class QueryEncoding {
    Raw,           // the text itself, unchanged
    Utf8,          // UTF-8 bytes, percent-encoded
    ShiftJis,      // code page 932 bytes, percent-encoded
    EucJp,         // code page 932 bytes converted to EUC-JP, percent-encoded
    ShiftJisTwice, // code page 932 bytes, percent-encoded, then percent-encoded again
};

} // namespace lookup
