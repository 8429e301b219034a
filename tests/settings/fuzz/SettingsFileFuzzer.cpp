// libFuzzer target: any bytes as a settings file, read into a fresh program state. Reading
// must end, leave every category with one checked entry, and what it leaves must write out as 42
// lines that read back to the very same file. (The first state itself need not come back:
// text the code page lacks, such as the replacement for undefined bytes, is written as '?'.)
#include "lookup/Catalogue.h"
#include "lookup/SiteSelection.h"
#include "settings/LineText.h"
#include "settings/SettingsLines.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace settings;

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "settings file fuzzer: %s\n", what);
        std::abort();
    }
}

QByteArray writeOut(const QStringList& lines, Options& options, lookup::SiteSelection& selection) {
    SettingsLines::read(lines, options, selection);
    for (const lookup::LookupCategory& category : lookup::Catalogue::instance().categories()) {
        int checked = selection.isChecked(*category.noneEntry) ? 1 : 0;
        for (const lookup::SiteEntry* e : category.dispatchOrder)
            checked += selection.isChecked(*e) ? 1 : 0;
        require(checked == 1, "a category without exactly one checked entry");
    }
    const QStringList written = SettingsLines::write(options, selection);
    require(written.size() == SettingsLines::kLineCount, "not 42 lines written");
    return bytesFromLines(written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = linesFromBytes(bytes, SettingsLines::kLineCount);
    require(lines.size() <= SettingsLines::kLineCount, "more lines than asked for");

    Options options;
    lookup::SiteSelection selection;
    const QByteArray first = writeOut(lines, options, selection);

    Options again;
    lookup::SiteSelection selectionAgain;
    const QByteArray second =
        writeOut(linesFromBytes(first, SettingsLines::kLineCount), again, selectionAgain);
    require(first == second, "a written file does not read back to itself");
    return 0;
}
