#include "desktop/WindowBehaviour.h"

#include <gtest/gtest.h>

using desktop::WindowBehaviour;
using Outcome = WindowBehaviour::CloseOutcome;
using State = WindowBehaviour::WindowState;

namespace {

struct CloseCase {
    const char* name;
    bool closeButtonMinimises;
    bool trayAvailable;
    bool quitting;
    Outcome outcome;
};

class CloseCommand : public testing::TestWithParam<CloseCase> {};

TEST_P(CloseCommand, Decides) {
    WindowBehaviour behaviour;
    behaviour.setCloseButtonMinimises(GetParam().closeButtonMinimises);
    if (GetParam().quitting)
        behaviour.setQuitting();
    EXPECT_EQ(behaviour.closeRequested(GetParam().trayAvailable), GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CloseCommand,
    testing::Values(CloseCase{"OptionOffCloses", false, true, false, Outcome::Close},
                    CloseCase{"OptionOnMinimises", true, true, false, Outcome::Minimise},
                    CloseCase{"OptionOnWithoutTrayCloses", true, false, false, Outcome::Close},
                    CloseCase{"TrayCloseEndsWithOptionOn", true, true, true, Outcome::Close},
                    CloseCase{"OptionOffNoTrayCloses", false, false, false, Outcome::Close}),
    [](const auto& info) { return std::string(info.param.name); });

struct DeactivationCase {
    const char* name;
    bool option;
    State state;
    bool quitting;
    bool minimise;
};

class Deactivation : public testing::TestWithParam<DeactivationCase> {};

TEST_P(Deactivation, Decides) {
    WindowBehaviour behaviour;
    behaviour.setMinimiseWhenInactive(GetParam().option);
    if (GetParam().quitting)
        behaviour.setQuitting();
    EXPECT_EQ(behaviour.minimiseOnDeactivation(GetParam().state), GetParam().minimise);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Deactivation,
    testing::Values(DeactivationCase{"OptionOffStays", false, State::Normal, false, false},
                    DeactivationCase{"NormalMinimises", true, State::Normal, false, true},
                    DeactivationCase{"MaximisedMinimises", true, State::Maximised, false, true},
                    DeactivationCase{"AlreadyMinimisedStays", true, State::Minimised, false, false},
                    DeactivationCase{"HiddenWindowIsNotShown", true, State::Hidden, false, false},
                    DeactivationCase{"EndingProgramStays", true, State::Normal, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct StartCase {
    const char* name;
    bool option;
    State state;
    bool minimise;
};

class StartMinimise : public testing::TestWithParam<StartCase> {};

TEST_P(StartMinimise, Decides) {
    EXPECT_EQ(WindowBehaviour::minimiseAfterSettingsRead(GetParam().option, GetParam().state),
              GetParam().minimise);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartMinimise,
                         testing::Values(StartCase{"StoredOnMinimises", true, State::Normal, true},
                                         StartCase{"StoredOffStays", false, State::Normal, false},
                                         StartCase{"AlreadyMinimisedStays", true, State::Minimised,
                                                   false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
