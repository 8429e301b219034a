#include "settings/ConfigLines.h"

#include <gtest/gtest.h>

using settings::ConfigLines;
using settings::Options;

namespace {

struct ReadCase {
    const char* name;
    QByteArray bytes;
    bool before;                   // lookUpSelection before the file is read
    std::optional<bool> afterRead; // nullopt: the file is no text and is not read
};

void PrintTo(const ReadCase& row, std::ostream* out) {
    *out << row.name;
}

class ConfigRead : public testing::TestWithParam<ReadCase> {};

} // namespace

TEST_P(ConfigRead, SetsWhatTheFileSays) {
    Options options;
    options.lookUpSelection = GetParam().before;
    const std::optional<Options> read = ConfigLines::read(GetParam().bytes, options);
    ASSERT_EQ(read.has_value(), GetParam().afterRead.has_value());
    if (!read)
        return;
    EXPECT_EQ(read->lookUpSelection, *GetParam().afterRead);
    // Nothing else changes: those options belong to the settings file.
    Options others = *read;
    others.lookUpSelection = options.lookUpSelection;
    EXPECT_EQ(others, options);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConfigRead,
    testing::Values(
        ReadCase{"Empty", "", false, false}, ReadCase{"On", "lookUpSelection=true\n", false, true},
        ReadCase{"Off", "lookUpSelection=false\n", true, false},
        ReadCase{"NoLineEnd", "lookUpSelection=true", false, true},
        ReadCase{"WindowsLineEnds", "# mine\r\nlookUpSelection=true\r\n", false, true},
        ReadCase{"SpacesAroundKeyAndValue", "  lookUpSelection =  true \n", false, true},
        ReadCase{"UnknownKeysBeside", "later=1\nlookUpSelection=true\nx=y\n", false, true},
        ReadCase{"LastOfTwoWins", "lookUpSelection=true\nlookUpSelection=false\n", false, false},
        ReadCase{"ValueNotTrueOrFalseLeavesTheOption", "lookUpSelection=yes\n", true, true},
        ReadCase{"ValueCaseCounts", "lookUpSelection=TRUE\n", false, false},
        ReadCase{"KeyCaseCounts", "lookupselection=true\n", false, false},
        ReadCase{"CommentedOut", "#lookUpSelection=true\n", false, false},
        ReadCase{"Garbage", "}{ not a config\n===\n\x7f", false, false},
        ReadCase{"NotUtf8", "lookUpSelection=true\n\xff\xfe", false, std::nullopt},
        ReadCase{"HoldsANul", QByteArray("lookUpSelection=true\n\0", 22), false, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct WriteCase {
    const char* name;
    QByteArray previous;
    bool on;
    QByteArray written;
};

void PrintTo(const WriteCase& row, std::ostream* out) {
    *out << row.name;
}

class ConfigWrite : public testing::TestWithParam<WriteCase> {};

} // namespace

TEST_P(ConfigWrite, KeepsWhatItDoesNotKnow) {
    Options options;
    options.lookUpSelection = GetParam().on;
    const QByteArray written = ConfigLines::write(GetParam().previous, options);
    EXPECT_EQ(written, GetParam().written);
    // Read back, it says the same.
    const std::optional<Options> read = ConfigLines::read(written, Options{});
    ASSERT_TRUE(read);
    EXPECT_EQ(read->lookUpSelection, GetParam().on);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConfigWrite,
    testing::Values(WriteCase{"NewFileOn", "", true, "lookUpSelection=true\n"},
                    WriteCase{"NewFileOff", "", false, "lookUpSelection=false\n"},
                    WriteCase{"ChangedInPlace", "# mine\nlookUpSelection=false\nnewer=3\n", true,
                              "# mine\nlookUpSelection=true\nnewer=3\n"},
                    WriteCase{"AddedAfterUnknownKeys", "newer=3\nnot a line", true,
                              "newer=3\nnot a line\nlookUpSelection=true\n"},
                    WriteCase{"EveryCopyOfTheKey", "lookUpSelection=true\nlookUpSelection=yes\n",
                              false, "lookUpSelection=false\nlookUpSelection=false\n"},
                    WriteCase{"CommentStays", "#lookUpSelection=true\n", false,
                              "#lookUpSelection=true\nlookUpSelection=false\n"},
                    WriteCase{"WindowsLineEndsBecomeUnix", "a=b\r\nlookUpSelection=true\r\n", true,
                              "a=b\nlookUpSelection=true\n"}),
    [](const auto& info) { return std::string(info.param.name); });
