// libFuzzer target: any bytes as a category-visibility file. The first byte chooses the screen
// height (768, which changes the defaults, or another); reading must end and write out as 26
// lines that read back to the same ticks.
#include "settings/CategoryVisibility.h"
#include "settings/LineText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace settings;

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "category file fuzzer: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int screenHeight = data[0] % 2 ? CategoryVisibility::kSmallScreenHeight : 1080;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QStringList lines = linesFromBytes(bytes, CategoryVisibility::kLineCount);
    const CategoryVisibility read = CategoryVisibility::fromLines(lines, screenHeight);

    const QStringList written = read.toLines();
    require(written.size() == CategoryVisibility::kLineCount, "not 26 lines written");
    const QByteArray file = bytesFromLines(written);
    const CategoryVisibility back = CategoryVisibility::fromLines(
        linesFromBytes(file, CategoryVisibility::kLineCount), screenHeight == 768 ? 1080 : 768);
    require(back == read, "a written file does not read back to the same ticks");
    require(bytesFromLines(back.toLines()) == file, "a written file is not written the same");
    return 0;
}
