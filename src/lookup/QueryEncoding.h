#pragma once

namespace lookup {

// How the search text becomes the word inside a site's query URL.
enum class QueryEncoding {
    qeRaw,           // the text itself, unchanged
    qeUTF8,          // UTF-8 bytes, percent-encoded
    qeShiftJIS,      // code page 932 bytes, percent-encoded
    qeEUCJP,         // code page 932 bytes converted to EUC-JP, percent-encoded
    qeShiftJISTwice, // code page 932 bytes, percent-encoded, then percent-encoded again
};

} // namespace lookup
